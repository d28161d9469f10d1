#include "draw/render_state.h"

#include "host/host.h"
#include "platform/address.h"

namespace {

// The record's functions are looked up at every call: the host fills the pointer when its
// renderer starts, after the plug-in has loaded. 0 while there is no record yet.
uint32_t engineFunction(uint32_t offset)
{
    uint32_t engine = addressOf(host::render_engine.get());
    return engine ? host::load<uint32_t>(engine + offset) : 0;
}

} // namespace

// Before the host's renderer starts there are no states to set: the call does nothing.
void setRenderState(RenderState state, uint32_t value)
{
    if (uint32_t function = engineFunction(host::render_engine_set))
        pointerTo<host::RenderStateSet>(function)(static_cast<int32_t>(state), value);
}

// Reads 0 before the host's renderer starts, as a state never set does.
uint32_t renderState(RenderState state)
{
    uint32_t value = 0;
    if (uint32_t function = engineFunction(host::render_engine_get))
        pointerTo<host::RenderStateGet>(function)(static_cast<int32_t>(state), &value);
    return value;
}
