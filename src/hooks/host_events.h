#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "injector/patch_table.h"

// Host events: the plug-in's callbacks run just before or just after the host function
// called at a host site, which itself still runs. The first subscription to an event
// intercepts its site(s); the sites get their bytes back when the plug-in is unloaded.

using HostCallback = void (*)();

struct HostEvent {
    bool installed;
    std::vector<HostCallback> before;
    std::vector<HostCallback> after;
    // Intercepts the event's sites: none when a site holds something else (refused); up to
    // the first that cannot be written (unwritten: putEventSitesBack puts back the others).
    void (*install)(HostEvent& event);
    injector::PatchRefusal refused;
    injector::PatchFailure unwritten;

    // Run the callback after the host function; returns the event to chain subscriptions.
    HostEvent& subscribe(HostCallback callback);
    // Run it before the host function.
    HostEvent& subscribeBefore(HostCallback callback);
};

// What each of the seven event sites holds in the host: its call, or the tail jump at the
// draw-tail site. The start-up's check looks at all of them before anything is written.
struct EventSiteShape {
    const char* name;
    uint32_t site;
    injector::Shape expected;
};
constexpr std::size_t eventSiteCount = 7;
extern const EventSiteShape eventSites[eventSiteCount];

// The host's frame processing.
HostEvent& FrameProcessEvent();
// The host's drawing call.
HostEvent& DrawEvent();
// The host's tail jump at the end of its drawing.
HostEvent& DrawTailEvent();
// The host's radar overlay, called from two sites.
HostEvent& RadarDrawEvent();
// The host's renderer has started.
HostEvent& RendererStartedEvent();
// The host shuts its renderer down; subscribe with subscribeBefore.
HostEvent& RendererShutdownEvent();

// Puts back the bytes of every site taken, the last taken first, and leaves every event as
// it was before its first subscription (for a start-up that could not finish); false when
// a site could not be put back.
[[nodiscard]] bool putEventSitesBack();
