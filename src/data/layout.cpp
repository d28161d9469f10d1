#include "data/layout.h"

#include <array>

#include "core/key_value_file.h"
#include "core/plugin.h"
#include "core/plugin_path.h"

const char* const layoutRecordKeys[LAYOUT_RECORD_COUNT] = {
    "HUD_RADAR_MAP",
    "HUD_RADAR_SPRITES",
    "HUD_WEAPON_ICON",
    "HUD_AMMO",
    "HUD_CASH",
    "HUD_SUBTITLES",
    "HUD_ZONE_NAME",
    "HUD_VEHICLE_NAME",
    "HUD_CELLPHONE",
    "HUD_CELLPHONE_CLOCK",
    "HUD_CELLPHONE_DAY",
    "HUD_RADIO_HUD",
    "HUD_CROSSHAIR",
    "HUD_CROSSHAIR_FPS",
    "HUD_BREATH_BAR",
    "HUD_HELP_MESSAGE",
    "HUD_STATS_BOX",
    "HUD_MISSION_TEXT",
    "HUD_SECOND_WEAPON_ICON",
    "HUD_SECOND_AMMO",
    "HUD_SECOND_RADAR_MAP",
    "HUD_SECOND_RADAR_SPRITES",
    "HUD_SECOND_BREATH_BAR",
};

const char* const layoutOffsetKeys[2] = {"HUD_RADAR_OFFSET_X_Y", "HUD_PLAYER_INFO_OFFSET_X_Y"};

namespace {

Vec2 readPair(KeyValueFile& file, const char* key)
{
    const std::array<float, 2> pair = file[key].asPair();
    return Vec2{pair[0], pair[1]};
}

} // namespace

void readLayout(HudPlugin& hud)
{
    KeyValueFile file;
    file.open(pluginPath(layoutFile));

    HudLayout& layout = hud.layout;
    layout.radarOffset = readPair(file, layoutOffsetKeys[0]);
    layout.playerInfoOffset = readPair(file, layoutOffsetKeys[1]);
    for (int i = 0; i < LAYOUT_RECORD_COUNT; ++i) {
        const std::array<float, 4> quad = file[layoutRecordKeys[i]].asQuad();
        layout.records[i] = LayoutBox{quad[0], quad[1], quad[2], quad[3]};
    }
}
