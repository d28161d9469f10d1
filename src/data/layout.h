#pragma once

#include "host/types.h"

struct HudPlugin;

// The element records of hud.dat, in the order they are read.
enum LayoutRecord : int {
    HUD_RADAR_MAP,
    HUD_RADAR_SPRITES,
    HUD_WEAPON_ICON,
    HUD_AMMO,
    HUD_CASH,
    HUD_SUBTITLES,
    HUD_ZONE_NAME,
    HUD_VEHICLE_NAME,
    HUD_CELLPHONE,
    HUD_CELLPHONE_CLOCK,
    HUD_CELLPHONE_DAY,
    HUD_RADIO_HUD,
    HUD_CROSSHAIR,
    HUD_CROSSHAIR_FPS,
    HUD_BREATH_BAR,
    HUD_HELP_MESSAGE,
    HUD_STATS_BOX,
    HUD_MISSION_TEXT,
    HUD_SECOND_WEAPON_ICON,
    HUD_SECOND_AMMO,
    HUD_SECOND_RADAR_MAP,
    HUD_SECOND_RADAR_SPRITES,
    HUD_SECOND_BREATH_BAR,
    LAYOUT_RECORD_COUNT
};

// Reference units of a 1080-line screen: x, y place the element; w, h give its size or its
// text scale.
struct LayoutBox {
    float x, y, w, h;
};

struct HudLayout {
    Vec2 radarOffset;      // HUD_RADAR_OFFSET_X_Y
    Vec2 playerInfoOffset; // HUD_PLAYER_INFO_OFFSET_X_Y
    LayoutBox records[LAYOUT_RECORD_COUNT];
};

// Where the layout is read from, below the plug-in's folder.
constexpr const char* layoutFile = "kell-hud\\data\\hud.dat";

extern const char* const layoutRecordKeys[LAYOUT_RECORD_COUNT];
// The two offsets, radar first: two numbers each where a record has four.
extern const char* const layoutOffsetKeys[2];

// Fills the placement table of the plug-in from kell-hud\data\hud.dat.
void readLayout(HudPlugin& hud);
