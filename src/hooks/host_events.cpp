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

constexpr EventSiteShape frameProcessShape{"site_frame_process", host::site_frame_process, Shape::HostCall};
constexpr EventSiteShape drawShape{"site_draw", host::site_draw, Shape::HostCall};
constexpr EventSiteShape drawTailShape{"site_draw_tail", host::site_draw_tail, Shape::HostJump};
constexpr EventSiteShape radarDrawShapeA{"site_radar_draw_a", host::site_radar_draw_a, Shape::HostCall};
constexpr EventSiteShape radarDrawShapeB{"site_radar_draw_b", host::site_radar_draw_b, Shape::HostCall};
constexpr EventSiteShape rendererStartShape{"site_renderer_start", host::site_renderer_start, Shape::HostCall};
constexpr EventSiteShape rendererShutdownShape{"site_renderer_shutdown", host::site_renderer_shutdown, Shape::HostCall};

injector::PatchRefusal check(const EventSiteShape& shape)
{
    return injector::check_site(injector::liveHostMemory(), shape.name, shape.site, shape.expected);
}

// Takes the site for good. Each hook is a static of its own instantiation, made when the
// event is first subscribed: at unload the sites get their bytes back in the reverse order
// they were taken.
template <class Site>
void take(HostEvent& event)
{
    static const injector::SiteHook hook = Site::intercept(event);
    Site::hook = &hook;
}

template <class Site, const EventSiteShape& SiteShape>
injector::PatchRefusal installOneSite(HostEvent& event)
{
    if (auto refused = check(SiteShape))
        return refused;
    take<Site>(event);
    return {};
}

injector::PatchRefusal installDrawTail(HostEvent& event)
{
    if (auto refused = check(drawTailShape))
        return refused;
    take<DrawTailSite>(event);
    // The host jumps here, so the dispatcher must be jumped to as well: it then returns
    // straight to the host routine's caller, whose return address is already on the stack.
    injector::write_u8(host::site_draw_tail, injector::opcode::jump);
    return {};
}

injector::PatchRefusal installRadarDraw(HostEvent& event)
{
    for (const EventSiteShape* shape : {&radarDrawShapeA, &radarDrawShapeB})
        if (auto refused = check(*shape))
            return refused;
    take<RadarDrawSiteA>(event);
    take<RadarDrawSiteB>(event);
    return {};
}

} // namespace

const EventSiteShape eventSites[eventSiteCount] = {frameProcessShape, drawShape,         drawTailShape,
                                                   radarDrawShapeA,   radarDrawShapeB,   rendererStartShape,
                                                   rendererShutdownShape};

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
    static HostEvent event{false, {}, {}, &installOneSite<FrameProcessSite, frameProcessShape>, {}};
    return event;
}

HostEvent& DrawEvent()
{
    static HostEvent event{false, {}, {}, &installOneSite<DrawSite, drawShape>, {}};
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
    static HostEvent event{false, {}, {}, &installOneSite<RendererStartSite, rendererStartShape>, {}};
    return event;
}

HostEvent& RendererShutdownEvent()
{
    static HostEvent event{false, {}, {}, &installOneSite<RendererShutdownSite, rendererShutdownShape>, {}};
    return event;
}
