#include "core/settings.h"

#include <iterator>

#include "core/key_value_file.h"
#include "core/plugin_path.h"

namespace {

bool readBool(KeyValueFile& file, const char* key, bool fallback)
{
    const KeyValueEntry& entry = file[key];
    bool value = fallback;
    if (entry.missing || !entry.tryBool(value))
        return fallback;
    return value;
}

int32_t readInt(KeyValueFile& file, const char* key, int32_t fallback)
{
    const KeyValueEntry& entry = file[key];
    int32_t value = fallback;
    if (entry.missing || !entry.tryInt(value))
        return fallback;
    return value;
}

} // namespace

const SettingKey settingKeys[] = {
    {"bEnable", &HudSettings::bEnable, nullptr},
    {"iVesk", nullptr, &HudSettings::iVesk},
    {"bEnableHotKey", &HudSettings::bEnableHotKey, nullptr},
    {"bStatsBox", &HudSettings::bStatsBox, nullptr},
    {"bCellphone", &HudSettings::bCellphone, nullptr},
    {"bRadioHud", &HudSettings::bRadioHud, nullptr},
    {"bEnableBlendingMode", &HudSettings::bEnableBlendingMode, nullptr},
    {"iRadarAlpha", nullptr, &HudSettings::iRadarAlpha},
    {"iGangOverlayAlpha", nullptr, &HudSettings::iGangOverlayAlpha},
    {"bUseKellFonts", &HudSettings::bUseKellFonts, nullptr},
    {"bKellOnFootCamera", &HudSettings::bKellOnFootCamera, nullptr},
    {"bKellVehicleCamera", &HudSettings::bKellVehicleCamera, nullptr},
    {"bKellMarkers", &HudSettings::bKellMarkers, nullptr},
};
static_assert(std::size(settingKeys) == SETTING_KEY_COUNT, "the count the checker lists");

HudSettings readSettings()
{
    KeyValueFile file;
    file.open(pluginPath(settingsFile));

    HudSettings s{};
    for (const SettingKey& setting : settingKeys) {
        if (setting.flag)
            s.*setting.flag = readBool(file, setting.key, false);
        else
            s.*setting.number = readInt(file, setting.key, 0);
    }
    return s;
}
