#include "render_engine.h"

#include "host/host.h"
#include "host_image.h"
#include "host_records.h"
#include "image_writer.h"
#include "preview/draw_list.h"
#include "trace.h"

namespace sim {

namespace {

std::map<int32_t, uint32_t> states;

KH_CDECL void renderStateSet(int32_t state, uint32_t value)
{
    states[state] = value;
    trace::record("render_state_set", SIM_CALLER(), trace::args(state, value));
    preview::recordRenderState(state, value);
}

KH_CDECL void renderStateGet(int32_t state, uint32_t* value)
{
    auto it = states.find(state);
    *value = it == states.end() ? 0 : it->second;
    trace::record("render_state_get", SIM_CALLER(), trace::args(state), *value);
}

uint32_t address(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

} // namespace

void writeRenderEngine(ImageWriter& image)
{
    states.clear();
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
        states[state] = value;
        preview::recordRenderState(state, value);
    }
}

const std::map<int32_t, uint32_t>& renderStates() { return states; }

} // namespace sim
