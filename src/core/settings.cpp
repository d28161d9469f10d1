#include "core/settings.h"

#include "core/key_value_file.h"
#include "core/plugin.h"
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

void readSettings(HudPlugin& hud)
{
    KeyValueFile file;
    file.open(pluginPath("kell-hud\\settings.ini"));

    HudSettings& s = hud.settings;
    s.bEnable = readBool(file, "bEnable", false);
    s.iVesk = readInt(file, "iVesk", 0);
    s.bEnableHotKey = readBool(file, "bEnableHotKey", false);
    s.bStatsBox = readBool(file, "bStatsBox", false);
    s.bCellphone = readBool(file, "bCellphone", false);
    s.bRadioHud = readBool(file, "bRadioHud", false);
    s.bEnableBlendingMode = readBool(file, "bEnableBlendingMode", false);
    s.iRadarAlpha = readInt(file, "iRadarAlpha", 0);
    s.iGangOverlayAlpha = readInt(file, "iGangOverlayAlpha", 0);
    s.bUseKellFonts = readBool(file, "bUseKellFonts", false);
    s.bKellOnFootCamera = readBool(file, "bKellOnFootCamera", false);
    s.bKellVehicleCamera = readBool(file, "bKellVehicleCamera", false);
    s.bKellMarkers = readBool(file, "bKellMarkers", false);
}
