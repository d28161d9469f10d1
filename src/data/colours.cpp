#include "data/colours.h"

#include <iterator>

#include "core/key_value_file.h"
#include "core/plugin_path.h"
#include "data/style_variant.h"

#define KELLHUD_NAME_ENTRY(name) #name,
const char* const hudColourNames[] = {KELLHUD_HUD_COLOURS(KELLHUD_NAME_ENTRY)};
#undef KELLHUD_NAME_ENTRY
static_assert(std::size(hudColourNames) == HUD_COLOUR_COUNT, "one name per colour");


namespace {

// What a colour, or a channel of it, is when the file does not give it: opaque white, so
// that a gap in the file still shows.
constexpr Colour absentColour{255, 255, 255, 255};

} // namespace

const char* colourFile(int32_t iVesk) { return styleFile("kell-hud\\data", iVesk, "hudColor.dat"); }

HudColourTable readColours(int32_t iVesk)
{
    KeyValueFile file;
    file.open(pluginPath(colourFile(iVesk)));
    HudColourTable colours;
    for (int i = 0; i < HUD_COLOUR_COUNT; ++i)
        colours[i] = file[hudColourNames[i]].asColour(absentColour);
    return colours;
}
