#include "hooks/hook_routines.h"

#include <iterator>

#include "state/plugin.h"
#include "data/colours.h"
#include "host/host.h"
#include "draw/render_state.h"

const float arrowConstantEight = 8.0f;
const float arrowConstantFour = 4.0f;

namespace {

// The host's array, entry by entry; blue fills two entries.
constexpr HudColour hostArrayColours[] = {
    HUD_COLOUR_RED,        HUD_COLOUR_GREEN,     HUD_COLOUR_BLUE,         HUD_COLOUR_BLUELIGHT,
    HUD_COLOUR_PURE_WHITE, HUD_COLOUR_BLACK,     HUD_COLOUR_ORANGE,       HUD_COLOUR_PURPLE,
    HUD_COLOUR_GREY,       HUD_COLOUR_REDDARK,   HUD_COLOUR_GREENDARK,    HUD_COLOUR_ORANGELIGHT,
    HUD_COLOUR_GREYDARK,   HUD_COLOUR_BLUE,      HUD_COLOUR_YELLOW};
static_assert(std::size(hostArrayColours) == 15, "the host's array holds 15 colours");

} // namespace

KH_THISCALL void FillHudColourArray(Colour* colours)
{
    for (size_t i = 0; i < std::size(hostArrayColours); ++i) {
        const Colour& c = plugin.colours[hostArrayColours[i]];
        host::make_colour(&colours[i], c.r, c.g, c.b, 255);
    }
}

KH_THISCALL Colour* MakeArrowColour(Colour* self, uint8_t, uint8_t, uint8_t, uint8_t)
{
    const Colour& c = plugin.colours[HUD_COLOUR_ARROW];
    *self = {c.r, c.g, c.b, 255};
    return self;
}

KH_THISCALL Colour* MakeGangOverlayColour(Colour* self, uint8_t r, uint8_t g, uint8_t b, uint8_t)
{
    setRenderState(RenderState::SourceBlend, blendSourceAlpha);
    *self = {r, g, b, static_cast<uint8_t>(plugin.settings.iGangOverlayAlpha & 0xFF)};
    return self;
}

KH_CDECL void DoNothing() {}
