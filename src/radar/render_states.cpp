#include "radar/render_states.h"

#include "host/host.h"

void setHostRenderState(int32_t state, uint32_t value)
{
    // The engine record is the host's, filled when its renderer starts; the setter is read
    // from it at every call, as the host's own code does.
    uint32_t engine = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host::render_engine.get()));
    auto set = reinterpret_cast<host::RenderStateSet>(uintptr_t{host::load<uint32_t>(engine + host::render_engine_set)});
    set(state, value);
}
