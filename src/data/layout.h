#pragma once

#include "data/anchor.h"
#include "host/types.h"

// The element records of hud.dat, in the order they are read: the one list from which the
// enum, the keys and the placement table are made. Per record: the edges its x and y are
// measured from when the line names no anchor; the offset pair added to its numbers; the
// group it moves with (a group moves as its leader is anchored: the radar with its map,
// the second radar with its ring, the player block with its offset pair, the phone with
// the phone); and which of x and y an anchor may move (a sliding element keeps the edge
// it slides from; the aiming crosshair follows the aim, not the screen).
#define KELLHUD_LAYOUT_RECORDS(X) \
    X(HUD_RADAR_MAP, Start, End, RadarOffset, Radar, Both) \
    X(HUD_RADAR_SPRITES, Start, End, RadarOffset, Radar, Both) \
    X(HUD_WEAPON_ICON, End, Start, PlayerOffset, PlayerBlock, Both) \
    X(HUD_AMMO, End, Start, PlayerOffset, PlayerBlock, Both) \
    X(HUD_CASH, End, Start, PlayerOffsetX, PlayerBlock, Both) \
    X(HUD_SUBTITLES, CentreBack, End, None, Own, Both) \
    X(HUD_ZONE_NAME, End, End, None, Own, Both) \
    X(HUD_VEHICLE_NAME, End, End, None, Own, Both) \
    X(HUD_CELLPHONE, End, End, None, Phone, XOnly) \
    X(HUD_CELLPHONE_CLOCK, End, End, None, Phone, XOnly) \
    X(HUD_CELLPHONE_DAY, End, End, None, Phone, XOnly) \
    X(HUD_RADIO_HUD, Centre, Start, None, Own, Both) \
    X(HUD_CROSSHAIR, Centre, Centre, None, Own, Neither) \
    X(HUD_CROSSHAIR_FPS, CentreBack, CentreBack, None, Own, Both) \
    X(HUD_BREATH_BAR, Start, End, None, Radar, Both) \
    X(HUD_HELP_MESSAGE, Start, Start, None, Own, Both) \
    X(HUD_STATS_BOX, Start, End, None, Own, YOnly) \
    X(HUD_MISSION_TEXT, End, End, None, Own, Both) \
    X(HUD_SECOND_WEAPON_ICON, End, Start, PlayerOffset, PlayerBlock, Both) \
    X(HUD_SECOND_AMMO, End, Start, PlayerOffset, PlayerBlock, Both) \
    X(HUD_SECOND_RADAR_MAP, Start, End, None, SecondRadar, Both) \
    X(HUD_SECOND_RADAR_SPRITES, Start, End, None, SecondRadar, Both) \
    X(HUD_SECOND_BREATH_BAR, Start, End, None, SecondRadar, Both)

enum LayoutRecord : int {
#define KELLHUD_ENUM_ENTRY(name, ...) name,
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
    // The anchor each line names after its numbers, read once with them.
    Anchor radarOffsetAnchor, playerInfoOffsetAnchor;
    Anchor anchors[LAYOUT_RECORD_COUNT];
};

// Where the layout is read from, below the plug-in's folder.
constexpr const char* layoutFile = "kell-hud\\data\\hud.dat";

extern const char* const layoutRecordKeys[LAYOUT_RECORD_COUNT];
// The two offsets, radar first: two numbers each where a record has four.
extern const char* const layoutOffsetKeys[2];

struct KeyValueFile;

// The placement table in kell-hud\data\hud.dat.
HudLayout readLayout();
// The same from a file already read (the tools read the modder's folder this way).
HudLayout layoutFrom(const KeyValueFile& file);
