#include "radar/render_state.h"

#include "host/host.h"

namespace {

// The record's functions are looked up at every call: the host fills the pointer when its
// renderer starts, after the plug-in has loaded.
uint32_t engineFunction(uint32_t offset)
{
    uint32_t engine = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host::render_engine.get()));
    return host::load<uint32_t>(engine + offset);
}

} // namespace

void setRenderState(int32_t state, uint32_t value)
{
    auto set = reinterpret_cast<host::RenderStateSet>(uintptr_t{engineFunction(host::render_engine_set)});
    set(state, value);
}

uint32_t renderState(int32_t state)
{
    auto get = reinterpret_cast<host::RenderStateGet>(uintptr_t{engineFunction(host::render_engine_get)});
    uint32_t value = 0;
    get(state, &value);
    return value;
}
