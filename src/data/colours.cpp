#include "data/colours.h"

#include "core/key_value_file.h"
#include "core/plugin.h"
#include "core/plugin_path.h"

const char* const hudColourNames[HUD_COLOUR_COUNT] = {
    "HUD_COLOUR_PURE_WHITE",
    "HUD_COLOUR_WHITE",
    "HUD_COLOUR_BLACK",
    "HUD_COLOUR_RED",
    "HUD_COLOUR_REDLIGHT",
    "HUD_COLOUR_REDDARK",
    "HUD_COLOUR_GREEN",
    "HUD_COLOUR_GREENLIGHT",
    "HUD_COLOUR_GREENDARK",
    "HUD_COLOUR_BLUE",
    "HUD_COLOUR_BLUELIGHT",
    "HUD_COLOUR_BLUEDARK",
    "HUD_COLOUR_ORANGE",
    "HUD_COLOUR_ORANGELIGHT",
    "HUD_COLOUR_ORANGEDARK",
    "HUD_COLOUR_PURPLE",
    "HUD_COLOUR_PURPLELIGHT",
    "HUD_COLOUR_PURPLEDARK",
    "HUD_COLOUR_GREY",
    "HUD_COLOUR_GREYDARK",
    "HUD_COLOUR_YELLOW",
    "HUD_COLOUR_YELLOWLIGHT",
    "HUD_COLOUR_YELLOWDARK",
    "HUD_COLOUR_PINK",
    "HUD_COLOUR_GPS",
    "HUD_COLOUR_HEALTH",
    "HUD_COLOUR_ARMOUR",
    "HUD_COLOUR_BREATH",
    "HUD_COLOUR_DAMAGE",
    "HUD_COLOUR_ZONE",
    "HUD_COLOUR_VEHICLE_NAME",
    "HUD_COLOUR_WANTED_STAR",
    "HUD_COLOUR_AMMO_CLIP",
    "HUD_COLOUR_AMMO_TOTAL",
    "HUD_COLOUR_CASH",
    "HUD_COLOUR_ARROW",
    "HUD_COLOUR_CELLPHONE_CLOCK",
    "HUD_COLOUR_WANTED_RED",
    "HUD_COLOUR_WANTED_BLUE",
    "HUD_COLOUR_MISSION",
    "HUD_COLOUR_STATS_BOX_BARS",
};

Colour hudColours[HUD_COLOUR_COUNT];

namespace {

// What a colour, or a channel of it, is when the file does not give it: opaque white, so
// that a gap in the file still shows.
constexpr Colour absentColour{255, 255, 255, 255};

} // namespace

const char* colourFile(int32_t iVesk)
{
    switch (iVesk) {
    case 1:
        return "kell-hud\\data\\mora\\hudColor.dat";
    case 2:
        return "kell-hud\\data\\sabel\\hudColor.dat";
    default:
        return "kell-hud\\data\\hudColor.dat";
    }
}

void readColours(const HudPlugin& hud)
{
    KeyValueFile file;
    file.open(pluginPath(colourFile(hud.settings.iVesk)));
    for (int i = 0; i < HUD_COLOUR_COUNT; ++i)
        hudColours[i] = file[hudColourNames[i]].asColour(absentColour);
}
