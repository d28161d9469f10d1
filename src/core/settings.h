#pragma once

#include <cstdint>

struct HudPlugin;

struct HudSettings {
    bool bEnable;
    int32_t iVesk;
    bool bStatsBox;
    bool bCellphone;
    bool bRadioHud;
    bool bEnableBlendingMode;
    int32_t iRadarAlpha;
    int32_t iGangOverlayAlpha;
    bool bUseKellFonts;
    bool bKellOnFootCamera;
    bool bKellVehicleCamera;
    bool bKellMarkers;
    bool bEnableHotKey;
};

// Fills the settings of the plug-in from kell-hud\settings.ini.
void readSettings(HudPlugin& hud);
