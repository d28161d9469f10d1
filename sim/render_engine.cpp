#include "render_engine.h"

#include <algorithm>
#include <iterator>

#include "host/host.h"
#include "host_image.h"
#include "host_records.h"
#include "image_writer.h"
#include "preview/draw_list.h"
#include "trace.h"

namespace sim {

namespace {

// The host's render states are small numbers: those below stateSlots live in a flat array
// (set every frame, many times), any other in the map.
constexpr int32_t stateSlots = 256;
struct StateSlot {
    bool set;
    uint32_t value;
};
StateSlot slots[stateSlots];
std::map<int32_t, uint32_t> otherStates;

void store(int32_t state, uint32_t value)
{
    if (state >= 0 && state < stateSlots)
        slots[state] = {true, value};
    else
        otherStates[state] = value;
}

uint32_t stored(int32_t state)
{
    if (state >= 0 && state < stateSlots)
        return slots[state].value;
    auto it = otherStates.find(state);
    return it == otherStates.end() ? 0 : it->second;
}

KH_CDECL void renderStateSet(int32_t state, uint32_t value)
{
    store(state, value);
    trace::record("render_state_set", SIM_CALLER(), trace::args(state, value));
    preview::recordRenderState(state, value);
}

KH_CDECL void renderStateGet(int32_t state, uint32_t* value)
{
    *value = stored(state);
    trace::record("render_state_get", SIM_CALLER(), trace::args(state), *value);
}

uint32_t address(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

} // namespace

void writeRenderEngine(ImageWriter& image)
{
    std::fill(std::begin(slots), std::end(slots), StateSlot{});
    otherStates.clear();
    host::RenderStateSet set = &renderStateSet;
    host::RenderStateGet get = &renderStateGet;
    image.write(renderStateSetCode, X86(renderStateSetCode).jmp(address(reinterpret_cast<const void*>(set))),
                "render_state_set");
    image.write(renderStateGetCode, X86(renderStateGetCode).jmp(address(reinterpret_cast<const void*>(get))),
                "render_state_get");
    hostWrite<uint32_t>(records::renderEngine + host::render_engine_set, renderStateSetCode);
    hostWrite<uint32_t>(records::renderEngine + host::render_engine_get, renderStateGetCode);
}

void startRenderEngine() { hostWrite<uint32_t>(host::render_engine.address, records::renderEngine); }

void stopRenderEngine() { hostWrite<uint32_t>(host::render_engine.address, 0); }

void setRenderStates(const std::map<int32_t, uint32_t>& initial)
{
    for (const auto& [state, value] : initial)
    {
        store(state, value);
        preview::recordRenderState(state, value);
    }
}

std::map<int32_t, uint32_t> renderStates()
{
    std::map<int32_t, uint32_t> all = otherStates;
    for (int32_t state = 0; state < stateSlots; ++state)
        if (slots[state].set)
            all[state] = slots[state].value;
    return all;
}

} // namespace sim
