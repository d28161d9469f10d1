#pragma once

#include <vector>

// Host events: the plug-in's callbacks run just before or just after the host function
// called at a host site, which itself still runs. The first subscription to an event
// intercepts its site(s); the sites get their bytes back when the plug-in is unloaded.

using HostCallback = void (*)();

struct HostEvent {
    bool installed;
    std::vector<HostCallback> before;
    std::vector<HostCallback> after;
    void (*install)(HostEvent& event); // intercepts the event's sites

    // Run the callback after the host function; returns the event to chain subscriptions.
    HostEvent& subscribe(HostCallback callback);
    // Run it before the host function.
    HostEvent& subscribeBefore(HostCallback callback);
};

// The host's frame processing (0x53E981).
HostEvent& FrameProcessEvent();
// The host's drawing call (0x53E293).
HostEvent& DrawEvent();
// The host's tail jump at the end of its drawing (0x57C324).
HostEvent& DrawTailEvent();
// The host's radar overlay, called from two sites (0x5759E4, 0x5869BF).
HostEvent& RadarDrawEvent();
// The host's renderer has started (0x5BF3A1).
HostEvent& RendererStartedEvent();
// The host shuts its renderer down (0x53D910); subscribe with subscribeBefore.
HostEvent& RendererShutdownEvent();
