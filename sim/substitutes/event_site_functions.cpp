#include "host/host.h"
#include "substitutes.h"
#include "trace.h"

// The host functions that the seven event sites call. They stand for whole stages of the
// host's frame; here they only leave their mark in the trace and return a value of their
// own, so a caller can tell that the value came through unchanged.

namespace sim {

namespace {

KH_CDECL uintptr_t frameProcess()
{
    trace::record("frame_process", SIM_CALLER(), trace::args());
    return host::frame_process.address;
}

KH_CDECL uintptr_t drawOverlay()
{
    trace::record("draw_overlay", SIM_CALLER(), trace::args());
    return host::draw_overlay.address;
}

KH_THISCALL uintptr_t drawTail(void* self)
{
    trace::record("draw_tail", SIM_CALLER(), trace::args(reinterpret_cast<uintptr_t>(self)));
    return host::draw_tail.address;
}

KH_CDECL uintptr_t radarDrawOverlay(bool flag)
{
    trace::record("radar_draw_overlay", SIM_CALLER(), trace::args(flag));
    return host::radar_draw_overlay.address + (flag ? 1 : 0);
}

KH_CDECL uintptr_t rendererStart()
{
    trace::record("renderer_start", SIM_CALLER(), trace::args());
    return host::renderer_start.address;
}

KH_CDECL uintptr_t rendererShutdown()
{
    trace::record("renderer_shutdown", SIM_CALLER(), trace::args());
    return host::renderer_shutdown.address;
}

} // namespace

void registerEventSiteFunctions()
{
    substitute(host::frame_process, &frameProcess);
    substitute(host::draw_overlay, &drawOverlay);
    substitute(host::draw_tail, &drawTail);
    substitute(host::radar_draw_overlay, &radarDrawOverlay);
    substitute(host::renderer_start, &rendererStart);
    substitute(host::renderer_shutdown, &rendererShutdown);
}

} // namespace sim
