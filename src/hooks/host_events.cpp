#include "hooks/host_events.h"

#include <cstdint>

#include "host/host.h"
#include "injector/hooking.h"
#include "platform/address.h"
#include "platform/callconv.h"

namespace {

using injector::Shape;

void ensureInstalled(HostEvent& event)
{
    if (event.installed)
        return;
    event.installed = true;
    event.refused = event.install(event);
}

void run(const std::vector<HostCallback>& callbacks)
{
    // By index: a callback may subscribe another and grow the list under us.
    for (std::size_t i = 0; i < callbacks.size(); ++i)
        callbacks[i]();
}

// One intercepted site: its dispatcher runs the event's callbacks around the host function
// the site called before, whose arguments and result pass through unchanged. The host
// calls the dispatcher with the site's own convention.
template <uint32_t Site, bool Thiscall, class Signature>
struct EventSite;

template <uint32_t Site, bool Thiscall, class R, class... A>
struct EventSite<Site, Thiscall, R(A...)> {
    static_assert(host_returnable<R>, "no structure results across the host boundary");

    static inline HostEvent* event = nullptr;
    static inline const injector::SiteHook* hook = nullptr;

    template <class HostFunction>
    static R around(A... a)
    {
        run(event->before);
        R result = pointerTo<HostFunction>(hook->former_destination())(a...);
        run(event->after);
        return result;
    }

    KH_CDECL static R dispatchCdecl(A... a) noexcept { return around<R(KH_CDECL*)(A...)>(a...); }
    KH_THISCALL static R dispatchThiscall(A... a) noexcept { return around<R(KH_THISCALL*)(A...)>(a...); }

    // Leads the site to the dispatcher; the caller keeps the hook for good.
    static injector::SiteHook intercept(HostEvent& e)
    {
        event = &e;
        return injector::SiteHook(Site, Thiscall ? addressOf(&dispatchThiscall)
                                                 : addressOf(&dispatchCdecl));
    }
};

using FrameProcessSite = EventSite<host::site_frame_process, false, uintptr_t()>;
using DrawSite = EventSite<host::site_draw, false, uintptr_t()>;
using DrawTailSite = EventSite<host::site_draw_tail, true, uintptr_t(void* self)>;
using RadarDrawSiteA = EventSite<host::site_radar_draw_a, false, uintptr_t(bool)>;
using RadarDrawSiteB = EventSite<host::site_radar_draw_b, false, uintptr_t(bool)>;
using RendererStartSite = EventSite<host::site_renderer_start, false, uintptr_t()>;
using RendererShutdownSite = EventSite<host::site_renderer_shutdown, false, uintptr_t()>;

// Each hook is a static of its install routine, made when the event is first subscribed:
// at unload the sites get their bytes back in the reverse order they were taken.

injector::PatchRefusal installFrameProcess(HostEvent& event)
{
    if (auto refused = injector::check_site("site_frame_process", host::site_frame_process, Shape::HostCall))
        return refused;
    static const injector::SiteHook hook = FrameProcessSite::intercept(event);
    FrameProcessSite::hook = &hook;
    return {};
}

injector::PatchRefusal installDraw(HostEvent& event)
{
    if (auto refused = injector::check_site("site_draw", host::site_draw, Shape::HostCall))
        return refused;
    static const injector::SiteHook hook = DrawSite::intercept(event);
    DrawSite::hook = &hook;
    return {};
}

injector::PatchRefusal installDrawTail(HostEvent& event)
{
    if (auto refused = injector::check_site("site_draw_tail", host::site_draw_tail, Shape::HostJump))
        return refused;
    static const injector::SiteHook hook = DrawTailSite::intercept(event);
    DrawTailSite::hook = &hook;
    // The host jumps here, so the dispatcher must be jumped to as well: it then returns
    // straight to the host routine's caller, whose return address is already on the stack.
    injector::write_u8(host::site_draw_tail, injector::opcode::jump);
    return {};
}

injector::PatchRefusal installRadarDraw(HostEvent& event)
{
    if (auto refused = injector::check_site("site_radar_draw_a", host::site_radar_draw_a, Shape::HostCall))
        return refused;
    if (auto refused = injector::check_site("site_radar_draw_b", host::site_radar_draw_b, Shape::HostCall))
        return refused;
    static const injector::SiteHook hookA = RadarDrawSiteA::intercept(event);
    RadarDrawSiteA::hook = &hookA;
    static const injector::SiteHook hookB = RadarDrawSiteB::intercept(event);
    RadarDrawSiteB::hook = &hookB;
    return {};
}

injector::PatchRefusal installRendererStart(HostEvent& event)
{
    if (auto refused = injector::check_site("site_renderer_start", host::site_renderer_start, Shape::HostCall))
        return refused;
    static const injector::SiteHook hook = RendererStartSite::intercept(event);
    RendererStartSite::hook = &hook;
    return {};
}

injector::PatchRefusal installRendererShutdown(HostEvent& event)
{
    if (auto refused = injector::check_site("site_renderer_shutdown", host::site_renderer_shutdown, Shape::HostCall))
        return refused;
    static const injector::SiteHook hook = RendererShutdownSite::intercept(event);
    RendererShutdownSite::hook = &hook;
    return {};
}

} // namespace

injector::PatchRefusal checkEventSites()
{
    struct EventSiteShape {
        const char* name;
        uint32_t site;
        Shape expected;
    };
    static constexpr EventSiteShape sites[] = {
        {"site_frame_process", host::site_frame_process, Shape::HostCall},
        {"site_draw", host::site_draw, Shape::HostCall},
        {"site_draw_tail", host::site_draw_tail, Shape::HostJump},
        {"site_radar_draw_a", host::site_radar_draw_a, Shape::HostCall},
        {"site_radar_draw_b", host::site_radar_draw_b, Shape::HostCall},
        {"site_renderer_start", host::site_renderer_start, Shape::HostCall},
        {"site_renderer_shutdown", host::site_renderer_shutdown, Shape::HostCall},
    };
    for (const EventSiteShape& s : sites)
        if (auto refused = injector::check_site(s.name, s.site, s.expected))
            return refused;
    return {};
}

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
    static HostEvent event{false, {}, {}, &installFrameProcess, {}};
    return event;
}

HostEvent& DrawEvent()
{
    static HostEvent event{false, {}, {}, &installDraw, {}};
    return event;
}

HostEvent& DrawTailEvent()
{
    static HostEvent event{false, {}, {}, &installDrawTail, {}};
    return event;
}

HostEvent& RadarDrawEvent()
{
    static HostEvent event{false, {}, {}, &installRadarDraw, {}};
    return event;
}

HostEvent& RendererStartedEvent()
{
    static HostEvent event{false, {}, {}, &installRendererStart, {}};
    return event;
}

HostEvent& RendererShutdownEvent()
{
    static HostEvent event{false, {}, {}, &installRendererShutdown, {}};
    return event;
}
