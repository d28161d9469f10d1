#pragma once

#include <cstddef>
#include <cstdint>

#include "host/host.h"
#include "platform/address.h"

// The host's render states, set and read by the host's own numbers through the functions of
// its render engine record.
enum class RenderState : int32_t {
    Texture = 1,
    TextureFilter = 5,
    Shading = 7,
    DepthWrite = 8,
    SourceBlend = 10,
    DestinationBlend = 11,
    BlendEnable = 12,
};

// Values of SourceBlend and DestinationBlend: One takes the source whole or keeps the
// destination whole (additive); the alpha pair blends by the source's alpha.
constexpr uint32_t blendOne = 2;
constexpr uint32_t blendSourceAlpha = 5;
constexpr uint32_t blendInverseSourceAlpha = 6;

// The render engine record's function at `offset`, looked up at every call: the host fills
// the record's pointer when its renderer starts, after the plug-in has loaded. 0 while
// there is no record yet.
inline uint32_t renderEngineFunction(uint32_t offset)
{
    uint32_t engine = addressOf(host::render_engine.get());
    return engine ? host::load<uint32_t>(engine + offset) : 0;
}

// Before the host's renderer starts there are no states to set: the call does nothing.
// Inline: the radar sets a state for every point it converts and every route leg.
inline void setRenderState(RenderState state, uint32_t value)
{
    if (uint32_t function = renderEngineFunction(host::render_engine_set))
        pointerTo<host::RenderStateSet>(function)(static_cast<int32_t>(state), value);
}

uint32_t renderState(RenderState state);

struct RenderStateSetting {
    RenderState state;
    uint32_t value;
};

// What the boxes behind texts and panels are filled with.
inline constexpr RenderStateSetting boxFillStates[] = {{RenderState::Shading, 2}, {RenderState::BlendEnable, 1}};

// Sets each state in turn, each read just before it is set, and at its end sets them back
// in the same order: the host finds its states as it left them.
template <size_t N>
class RenderStateScope {
public:
    explicit RenderStateScope(const RenderStateSetting (&settings)[N])
    {
        for (size_t i = 0; i < N; ++i) {
            saved[i] = {settings[i].state, renderState(settings[i].state)};
            setRenderState(settings[i].state, settings[i].value);
        }
    }
    ~RenderStateScope()
    {
        for (const RenderStateSetting& s : saved)
            setRenderState(s.state, s.value);
    }
    RenderStateScope(const RenderStateScope&) = delete;
    RenderStateScope& operator=(const RenderStateScope&) = delete;

private:
    RenderStateSetting saved[N];
};
