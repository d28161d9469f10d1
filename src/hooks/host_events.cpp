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
    event.install(event);
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

    // Leads the site to the dispatcher by a call, or by a jump where the host jumps; the
    // caller keeps the hook for good.
    static injector::SiteHook intercept(HostEvent& e, uint8_t branch)
    {
        event = &e;
        return injector::SiteHook(Site, Thiscall ? addressOf(&dispatchThiscall) : addressOf(&dispatchCdecl), branch);
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

// The sites taken, in the order they were taken.
injector::SiteHook* taken[eventSiteCount];
std::size_t takenCount = 0;

// Takes the site for good; false, the site left alone, when it cannot be written. Each hook
// is a static of its own instantiation, made by the first take, so at unload the sites get
// their bytes back in the reverse order they were taken, before anything that first write
// made goes. A take after putEventSitesBack takes the site anew.
template <class Site>
bool take(HostEvent& event, const EventSiteShape& shape, uint8_t branch = injector::opcode::call)
{
    static bool made = false;
    static injector::SiteHook hook = Site::intercept(event, branch);
    if (made)
        hook = Site::intercept(event, branch);
    made = true;
    Site::hook = &hook;
    if (!hook.is_saved()) {
        event.unwritten = {shape.name, shape.site};
        return false;
    }
    if (takenCount < eventSiteCount)
        taken[takenCount++] = &hook;
    return true;
}

template <class Site, const EventSiteShape& SiteShape>
void installOneSite(HostEvent& event)
{
    event.refused = check(SiteShape);
    if (!event.refused)
        take<Site>(event, SiteShape);
}

// The host jumps here, so the dispatcher is jumped to as well: it then returns straight to
// the host routine's caller, whose return address is already on the stack.
void installDrawTail(HostEvent& event)
{
    event.refused = check(drawTailShape);
    if (!event.refused)
        take<DrawTailSite>(event, drawTailShape, injector::opcode::jump);
}

void installRadarDraw(HostEvent& event)
{
    for (const EventSiteShape* shape : {&radarDrawShapeA, &radarDrawShapeB})
        if ((event.refused = check(*shape)))
            return;
    if (take<RadarDrawSiteA>(event, radarDrawShapeA))
        take<RadarDrawSiteB>(event, radarDrawShapeB);
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
    static HostEvent event{false, {}, {}, &installOneSite<FrameProcessSite, frameProcessShape>, {}, {}};
    return event;
}

HostEvent& DrawEvent()
{
    static HostEvent event{false, {}, {}, &installOneSite<DrawSite, drawShape>, {}, {}};
    return event;
}

HostEvent& DrawTailEvent()
{
    static HostEvent event{false, {}, {}, &installDrawTail, {}, {}};
    return event;
}

HostEvent& RadarDrawEvent()
{
    static HostEvent event{false, {}, {}, &installRadarDraw, {}, {}};
    return event;
}

HostEvent& RendererStartedEvent()
{
    static HostEvent event{false, {}, {}, &installOneSite<RendererStartSite, rendererStartShape>, {}, {}};
    return event;
}

HostEvent& RendererShutdownEvent()
{
    static HostEvent event{false, {}, {}, &installOneSite<RendererShutdownSite, rendererShutdownShape>, {}, {}};
    return event;
}

bool putEventSitesBack()
{
    bool restored = true;
    while (takenCount > 0)
        restored &= taken[--takenCount]->restore();
    for (HostEvent* event : {&FrameProcessEvent(), &DrawEvent(), &DrawTailEvent(), &RadarDrawEvent(),
                             &RendererStartedEvent(), &RendererShutdownEvent()})
        *event = HostEvent{false, {}, {}, event->install, {}, {}};
    return restored;
}
