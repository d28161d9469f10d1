#include "core/settings.h"

#include "core/key_value_file.h"
#include "core/plugin_path.h"

namespace {

bool readBool(const KeyValueFile& file, const char* key, bool fallback)
{
    const KeyValueEntry& entry = file[key];
    bool value = fallback;
    if (entry.missing || !entry.tryBool(value))
        return fallback;
    return value;
}

int32_t readInt(const KeyValueFile& file, const char* key, int32_t fallback)
{
    const KeyValueEntry& entry = file[key];
    int32_t value = fallback;
    if (entry.missing || !entry.tryInt(value))
        return fallback;
    return value;
}

constexpr SettingKey settingKey(const char* key, bool HudSettings::*flag) { return {key, flag, nullptr}; }
constexpr SettingKey settingKey(const char* key, int32_t HudSettings::*number) { return {key, nullptr, number}; }

} // namespace

const SettingKey settingKeys[SETTING_KEY_COUNT] = {
#define HUD_SETTING_KEY(type, key) settingKey(#key, &HudSettings::key),
    HUD_SETTING_LIST(HUD_SETTING_KEY)
#undef HUD_SETTING_KEY
};

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
