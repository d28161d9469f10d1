#include "core/start_up.h"

#include "core/plugin.h"
#include "core/toggle.h"
#include "core/watermark.h"
#include "data/colours.h"
#include "data/layout.h"
#include "hooks/hook_map.h"
#include "hooks/host_events.h"
#include "hooks/option_patches.h"
#include "textures/texture_installer.h"

void startUp()
{
    readSettings(plugin);
    readColours(plugin); // after the settings: the style variant picks the file
    readLayout(plugin);

    // Disabled: the host keeps its own display and not one byte of it changes.
    if (!plugin.settings.bEnable)
        return;

    DrawTailEvent().subscribe(drawWatermark);
    DrawEvent().subscribe(drawWatermark);
    installHudHookMap();
    installRadarHookMap();
    installTextures();
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
