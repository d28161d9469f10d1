#pragma once

#include <cstdint>

#include "host/types.h"

struct HudPlugin;

// The named colours of hudColor.dat, in their fixed table order.
enum HudColour : int {
    HUD_COLOUR_PURE_WHITE,
    HUD_COLOUR_WHITE,
    HUD_COLOUR_BLACK,
    HUD_COLOUR_RED,
    HUD_COLOUR_REDLIGHT,
    HUD_COLOUR_REDDARK,
    HUD_COLOUR_GREEN,
    HUD_COLOUR_GREENLIGHT,
    HUD_COLOUR_GREENDARK,
    HUD_COLOUR_BLUE,
    HUD_COLOUR_BLUELIGHT,
    HUD_COLOUR_BLUEDARK,
    HUD_COLOUR_ORANGE,
    HUD_COLOUR_ORANGELIGHT,
    HUD_COLOUR_ORANGEDARK,
    HUD_COLOUR_PURPLE,
    HUD_COLOUR_PURPLELIGHT,
    HUD_COLOUR_PURPLEDARK,
    HUD_COLOUR_GREY,
    HUD_COLOUR_GREYDARK,
    HUD_COLOUR_YELLOW,
    HUD_COLOUR_YELLOWLIGHT,
    HUD_COLOUR_YELLOWDARK,
    HUD_COLOUR_PINK,
    HUD_COLOUR_GPS,
    HUD_COLOUR_HEALTH,
    HUD_COLOUR_ARMOUR,
    HUD_COLOUR_BREATH,
    HUD_COLOUR_DAMAGE,
    HUD_COLOUR_ZONE,
    HUD_COLOUR_VEHICLE_NAME,
    HUD_COLOUR_WANTED_STAR,
    HUD_COLOUR_AMMO_CLIP,
    HUD_COLOUR_AMMO_TOTAL,
    HUD_COLOUR_CASH,
    HUD_COLOUR_ARROW,
    HUD_COLOUR_CELLPHONE_CLOCK,
    HUD_COLOUR_WANTED_RED,
    HUD_COLOUR_WANTED_BLUE,
    HUD_COLOUR_MISSION,
    HUD_COLOUR_STATS_BOX_BARS,
    HUD_COLOUR_COUNT
};

extern const char* const hudColourNames[HUD_COLOUR_COUNT];

// Read once at start-up, read-only afterwards.
extern Colour hudColours[HUD_COLOUR_COUNT];

// The colour file of a style variant, below the plug-in's folder: 1 mora, 2 sabel, any
// other value the base style.
const char* colourFile(int32_t iVesk);

// Fills the colour table from the hudColor.dat of the style variant chosen by iVesk.
void readColours(const HudPlugin& hud);
