#include "draw/render_state.h"

// Reads 0 before the host's renderer starts, as a state never set does.
uint32_t renderState(RenderState state)
{
    uint32_t value = 0;
    if (uint32_t function = renderEngineFunction(host::render_engine_get))
        pointerTo<host::RenderStateGet>(function)(static_cast<int32_t>(state), &value);
    return value;
}
