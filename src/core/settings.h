#pragma once

#include <cstdint>

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

// Where the settings are read from, below the plug-in's folder.
constexpr const char* settingsFile = "kell-hud\\settings.ini";

// Every key of the settings file and the field it fills: a boolean or an integer. Missing
// or unreadable, a setting is false or 0. The data checker lists the keys from here too.
struct SettingKey {
    const char* key;
    bool HudSettings::*flag;      // a boolean setting, or null
    int32_t HudSettings::*number; // an integer setting, or null
};
constexpr int SETTING_KEY_COUNT = 13;
extern const SettingKey settingKeys[SETTING_KEY_COUNT];

// The settings in kell-hud\settings.ini.
HudSettings readSettings();
