#include "app/start_up.h"

#include "app/host_check.h"
#include "app/toggle.h"
#include "app/watermark.h"
#include "core/settings.h"
#include "data/colours.h"
#include "data/layout.h"
#include "hooks/hook_map.h"
#include "hooks/host_events.h"
#include "hooks/option_patches.h"
#include "radar/arrival.h"
#include "radar/gps_route.h"
#include "state/plugin.h"
#include "textures/texture_installer.h"
#include "textures/texture_loading.h"

bool hostMatched = false;

void startUp()
{
    plugin.settings = readSettings();
    plugin.colours = readColours(plugin.settings.iVesk); // the style variant picks the file
    plugin.layout = readLayout();

    // Disabled: the host keeps its own display; nothing in it is called or changed.
    if (!plugin.settings.bEnable)
        return;
    // Another game build, a site another mod has changed, or a routine of ours that is not
    // where we call it: the same, and the player is told.
    const HostVerdict verdict = checkHostBuild(plugin.settings, injector::liveHostMemory());
    if (verdict.refused()) {
        reportRefusedHost(verdict);
        return;
    }
    hostMatched = true;

    DrawTailEvent().subscribe(drawWatermark);
    DrawEvent().subscribe(drawWatermark);
    installHudHookMap();
    installRadarHookMap();
    FrameProcessEvent().subscribe(CheckArrival);
    RadarDrawEvent().subscribe(DrawGpsRoute);
    installTextures();
    RendererStartedEvent().subscribe(loadTextures);
    RendererShutdownEvent().subscribeBefore(releaseTextures);
    if (plugin.settings.bUseKellFonts)
        installFontPatches();
    if (plugin.settings.bKellMarkers)
        installMarkerPatches();
    if (plugin.settings.bKellOnFootCamera)
        installOnFootCameraPatches();
    if (plugin.settings.bKellVehicleCamera)
        installVehicleCameraPatches();
    if (plugin.settings.bEnableHotKey)
        FrameProcessEvent().subscribe(pollToggleKey);
}
