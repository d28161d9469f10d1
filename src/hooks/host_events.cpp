#include "hooks/host_events.h"

#include <cstdint>

#include "host/host.h"
#include "injector/hooking.h"

namespace {

void ensureInstalled(HostEvent& event)
{
    if (event.installed)
        return;
    event.installed = true;
    event.install(event);
}

void run(const std::vector<HostCallback>& callbacks)
{
    // By index: a callback may subscribe another and grow the list under us.
    for (std::size_t i = 0; i < callbacks.size(); ++i)
        callbacks[i]();
}

// Intercepts one site of the event: its callbacks run around the host function, whose
// arguments and result pass through unchanged.
template <class Hooker>
void interceptAt(HostEvent& event)
{
    injector::install_hooker<Hooker>([&event](auto next, auto... args) {
        run(event.before);
        auto result = next(args...);
        run(event.after);
        return result;
    });
}

using CdeclSite = uintptr_t();
using BoolSite = uintptr_t(bool);
using ObjectSite = uintptr_t(void* self);

void installFrameProcess(HostEvent& event)
{
    interceptAt<injector::function_hooker<host::site_frame_process, CdeclSite>>(event);
}

void installDraw(HostEvent& event)
{
    interceptAt<injector::function_hooker<host::site_draw, CdeclSite>>(event);
}

void installDrawTail(HostEvent& event)
{
    interceptAt<injector::function_hooker_thiscall<host::site_draw_tail, ObjectSite>>(event);
    // The host jumps here, so the dispatcher must be jumped to as well: it then returns
    // straight to the host routine's caller, whose return address is already on the stack.
    injector::write_u8(host::site_draw_tail, 0xE9);
}

void installRadarDraw(HostEvent& event)
{
    interceptAt<injector::function_hooker<host::site_radar_draw_a, BoolSite>>(event);
    interceptAt<injector::function_hooker<host::site_radar_draw_b, BoolSite>>(event);
}

void installRendererStart(HostEvent& event)
{
    interceptAt<injector::function_hooker<host::site_renderer_start, CdeclSite>>(event);
}

void installRendererShutdown(HostEvent& event)
{
    interceptAt<injector::function_hooker<host::site_renderer_shutdown, CdeclSite>>(event);
}

} // namespace

HostEvent& HostEvent::subscribe(HostCallback callback)
{
    ensureInstalled(*this);
    after.push_back(callback);
    return *this;
}

HostEvent& HostEvent::subscribeBefore(HostCallback callback)
{
    ensureInstalled(*this);
    before.push_back(callback);
    return *this;
}

HostEvent& FrameProcessEvent()
{
    static HostEvent event{false, {}, {}, &installFrameProcess};
    return event;
}

HostEvent& DrawEvent()
{
    static HostEvent event{false, {}, {}, &installDraw};
    return event;
}

HostEvent& DrawTailEvent()
{
    static HostEvent event{false, {}, {}, &installDrawTail};
    return event;
}

HostEvent& RadarDrawEvent()
{
    static HostEvent event{false, {}, {}, &installRadarDraw};
    return event;
}

HostEvent& RendererStartedEvent()
{
    static HostEvent event{false, {}, {}, &installRendererStart};
    return event;
}

HostEvent& RendererShutdownEvent()
{
    static HostEvent event{false, {}, {}, &installRendererShutdown};
    return event;
}
