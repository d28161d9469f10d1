#pragma once

#include <cstdint>

// Every setting of settings.ini, in the order the data checker lists them: its type (a
// boolean or an integer) and its key, which is also the field's name. Missing or
// unreadable, a setting is false or 0.
#define HUD_SETTING_LIST(X) \
    X(bool, bEnable) \
    X(int32_t, iVesk) \
    X(bool, bEnableHotKey) \
    X(bool, bStatsBox) \
    X(bool, bCellphone) \
    X(bool, bRadioHud) \
    X(bool, bEnableBlendingMode) \
    X(int32_t, iRadarAlpha) \
    X(int32_t, iGangOverlayAlpha) \
    X(bool, bUseKellFonts) \
    X(bool, bKellOnFootCamera) \
    X(bool, bKellVehicleCamera) \
    X(bool, bKellMarkers)

struct HudSettings {
#define HUD_SETTING_FIELD(type, key) type key;
    HUD_SETTING_LIST(HUD_SETTING_FIELD)
#undef HUD_SETTING_FIELD
};

// Where the settings are read from, below the plug-in's folder.
constexpr const char* settingsFile = "kell-hud\\settings.ini";

// Every key of the settings file and the field it fills. The data checker lists the keys
// from here too.
struct SettingKey {
    const char* key;
    bool HudSettings::*flag;      // a boolean setting, or null
    int32_t HudSettings::*number; // an integer setting, or null
};
#define HUD_SETTING_ONE(type, key) +1
constexpr int SETTING_KEY_COUNT = 0 HUD_SETTING_LIST(HUD_SETTING_ONE);
#undef HUD_SETTING_ONE
extern const SettingKey settingKeys[SETTING_KEY_COUNT];

// The settings in kell-hud\settings.ini.
HudSettings readSettings();
