#pragma once

#include "host/types.h"

// The element records of hud.dat, in the order they are read: the one list from which the
// enum and the keys are made.
#define KELLHUD_LAYOUT_RECORDS(X) \
    X(HUD_RADAR_MAP) \
    X(HUD_RADAR_SPRITES) \
    X(HUD_WEAPON_ICON) \
    X(HUD_AMMO) \
    X(HUD_CASH) \
    X(HUD_SUBTITLES) \
    X(HUD_ZONE_NAME) \
    X(HUD_VEHICLE_NAME) \
    X(HUD_CELLPHONE) \
    X(HUD_CELLPHONE_CLOCK) \
    X(HUD_CELLPHONE_DAY) \
    X(HUD_RADIO_HUD) \
    X(HUD_CROSSHAIR) \
    X(HUD_CROSSHAIR_FPS) \
    X(HUD_BREATH_BAR) \
    X(HUD_HELP_MESSAGE) \
    X(HUD_STATS_BOX) \
    X(HUD_MISSION_TEXT) \
    X(HUD_SECOND_WEAPON_ICON) \
    X(HUD_SECOND_AMMO) \
    X(HUD_SECOND_RADAR_MAP) \
    X(HUD_SECOND_RADAR_SPRITES) \
    X(HUD_SECOND_BREATH_BAR)

enum LayoutRecord : int {
#define KELLHUD_ENUM_ENTRY(name) name,
    KELLHUD_LAYOUT_RECORDS(KELLHUD_ENUM_ENTRY)
#undef KELLHUD_ENUM_ENTRY
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

// The placement table in kell-hud\data\hud.dat.
HudLayout readLayout();
