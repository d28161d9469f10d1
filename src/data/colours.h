#pragma once

#include <cstdint>

#include "host/types.h"

#include <array>

// The named colours of hudColor.dat, in their fixed table order: the one list from which
// the enum and the key names are made.
#define KELLHUD_HUD_COLOURS(X) \
    X(HUD_COLOUR_PURE_WHITE) \
    X(HUD_COLOUR_WHITE) \
    X(HUD_COLOUR_BLACK) \
    X(HUD_COLOUR_RED) \
    X(HUD_COLOUR_REDLIGHT) \
    X(HUD_COLOUR_REDDARK) \
    X(HUD_COLOUR_GREEN) \
    X(HUD_COLOUR_GREENLIGHT) \
    X(HUD_COLOUR_GREENDARK) \
    X(HUD_COLOUR_BLUE) \
    X(HUD_COLOUR_BLUELIGHT) \
    X(HUD_COLOUR_BLUEDARK) \
    X(HUD_COLOUR_ORANGE) \
    X(HUD_COLOUR_ORANGELIGHT) \
    X(HUD_COLOUR_ORANGEDARK) \
    X(HUD_COLOUR_PURPLE) \
    X(HUD_COLOUR_PURPLELIGHT) \
    X(HUD_COLOUR_PURPLEDARK) \
    X(HUD_COLOUR_GREY) \
    X(HUD_COLOUR_GREYDARK) \
    X(HUD_COLOUR_YELLOW) \
    X(HUD_COLOUR_YELLOWLIGHT) \
    X(HUD_COLOUR_YELLOWDARK) \
    X(HUD_COLOUR_PINK) \
    X(HUD_COLOUR_GPS) \
    X(HUD_COLOUR_HEALTH) \
    X(HUD_COLOUR_ARMOUR) \
    X(HUD_COLOUR_BREATH) \
    X(HUD_COLOUR_DAMAGE) \
    X(HUD_COLOUR_ZONE) \
    X(HUD_COLOUR_VEHICLE_NAME) \
    X(HUD_COLOUR_WANTED_STAR) \
    X(HUD_COLOUR_AMMO_CLIP) \
    X(HUD_COLOUR_AMMO_TOTAL) \
    X(HUD_COLOUR_CASH) \
    X(HUD_COLOUR_ARROW) \
    X(HUD_COLOUR_CELLPHONE_CLOCK) \
    X(HUD_COLOUR_WANTED_RED) \
    X(HUD_COLOUR_WANTED_BLUE) \
    X(HUD_COLOUR_MISSION) \
    X(HUD_COLOUR_STATS_BOX_BARS)

enum HudColour : int {
#define KELLHUD_ENUM_ENTRY(name) name,
    KELLHUD_HUD_COLOURS(KELLHUD_ENUM_ENTRY)
#undef KELLHUD_ENUM_ENTRY
    HUD_COLOUR_COUNT
};

extern const char* const hudColourNames[HUD_COLOUR_COUNT];

// Red, green, blue and alpha of every named colour, by HudColour.
using HudColourTable = std::array<Colour, HUD_COLOUR_COUNT>;

// The colour file of a style variant (data/style_variant.h), below the plug-in's folder;
// styleFile's buffer: use it at once.
const char* colourFile(int32_t iVesk);

// The colour table in the hudColor.dat of the style variant chosen by iVesk.
HudColourTable readColours(int32_t iVesk);
