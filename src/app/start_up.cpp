#include "app/start_up.h"

#include "app/host_check.h"
#include "app/toggle.h"
#include "app/watermark.h"
#include "core/settings.h"
#include "data/colours.h"
#include "data/layout.h"
#include "hooks/host_events.h"
#include "hooks/patch_sets.h"
#include "radar/arrival.h"
#include "radar/gps_route.h"
#include "state/plugin.h"
#include "textures/texture_loading.h"

bool hostMatched = false;

namespace {

// Subscribes the callback (its event's sites are taken at the first subscription); the
// site that could not be taken, if any.
injector::PatchFailure subscribed(HostEvent& event, HostCallback callback, bool before)
{
    if (before)
        event.subscribeBefore(callback);
    else
        event.subscribe(callback);
    if (event.refused)
        return {event.refused.row, event.refused.site};
    return event.unwritten;
}

// Every patch and subscription, in the host's order, up to the first that cannot be
// written: that one is left as it was, those before it stay written.
injector::PatchFailure patchHost(const PatchTables& tables)
{
    injector::PatchFailure failed;
    auto subscribe = [&](HostEvent& event, HostCallback callback, bool before = false) {
        if (!failed)
            failed = subscribed(event, callback, before);
    };
    auto apply = [&](std::size_t set) {
        if (!failed)
            failed = injector::apply_patches(tables.of[set]);
    };
    subscribe(DrawTailEvent(), drawWatermark);
    subscribe(DrawEvent(), drawWatermark);
    apply(hudHookMapSet);
    apply(radarHookMapSet);
    subscribe(FrameProcessEvent(), CheckArrival);
    subscribe(RadarDrawEvent(), DrawGpsRoute);
    apply(textureInstallerSet);
    subscribe(RendererStartedEvent(), loadTextures);
    subscribe(RendererShutdownEvent(), releaseTextures, true);
    for (std::size_t set = firstOptionSet; set < patchSetCount; ++set)
        apply(set); // a set that is off has no rows
    if (plugin.settings.bEnableHotKey)
        subscribe(FrameProcessEvent(), pollToggleKey);
    return failed;
}

// Puts back every byte the start-up wrote; false when some could not be.
bool unpatchHost(const PatchTables& tables)
{
    bool restored = true;
    for (std::size_t set = patchSetCount; set-- > 0;)
        restored &= injector::restore_patches(tables.of[set]);
    restored &= putEventSitesBack(); // (no table row lies within an event site)
    return restored;
}

} // namespace

void startUp()
{
    plugin.settings = readSettings();
    plugin.colours = readColours(plugin.settings.iVesk); // the style variant picks the file
    plugin.layout = readLayout();

    // Disabled: the host keeps its own display; nothing in it is called or changed.
    if (!plugin.settings.bEnable)
        return;
    // Another game build, a site another mod has changed, or a routine of ours that is not
    // where we call it: the same, and the player is told. So is a game that will not let
    // its code be changed, once what was already written is put back.
    const PatchTables tables = makePatchTables(plugin.settings);
    HostVerdict verdict = checkHostBuild(tables, injector::liveHostMemory());
    if (!verdict.refused()) {
        try {
            verdict.unwritten = patchHost(tables);
        } catch (...) {
            // Out of memory part way (a subscription's list could not grow): the game must
            // not keep half of our patches, whose code would then run without its start-up.
            (void)unpatchHost(tables);
            throw;
        }
        if (verdict.unwritten)
            verdict.restored = unpatchHost(tables);
    }
    if (verdict.refused()) {
        reportRefusedHost(verdict);
        return;
    }
    hostMatched = true;
}
