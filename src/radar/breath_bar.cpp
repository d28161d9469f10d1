#include "radar/breath_bar.h"

#include <cmath>

#include "data/colours.h"
#include "data/placement.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "draw/hud_style.h"
#include "state/plugin.h"

namespace {

// Darker than the fill by 100 in each channel, in byte arithmetic: a channel below 100
// wraps round to value + 156, as the style always drew it.
Colour backgroundColour()
{
    const Colour& c = plugin.colours[HUD_COLOUR_BREATH];
    return makeColour(static_cast<uint8_t>(c.r - 100), static_cast<uint8_t>(c.g - 100),
                      static_cast<uint8_t>(c.b - 100), 155);
}

// The host takes the base first and the top second.
void fill(float left, float base, float right, float top, const Colour& colour, const Shift& shift)
{
    Rect rect;
    host::make_rect(&rect, shift.atX(left), shift.atY(base), shift.atX(right), shift.atY(top));
    host::fill_rect(&rect, &colour);
}

} // namespace

void drawBreathBar(const LayoutBox& bar, float ratio, const Colour& fillColour, const Shift& shift,
                   const ScreenScale& unit)
{
    const float height = unit.height;
    const float left = unit.pixels(bar.x);
    const float base = height - unit.pixels(bar.y);

    Colour black = makeColour(0, 0, 0, 255);
    fill(unit.pixels(bar.x - 2), height - unit.pixels(bar.y - 2), unit.pixels(bar.x - 2) + unit.pixels(bar.w + 4),
         height - unit.pixels(bar.y - 2) - unit.pixels(bar.h + 4), black, shift);
    Colour background = backgroundColour();
    fill(left, base, left + unit.pixels(bar.w), base - unit.pixels(bar.h), background, shift);

    // A breath level beyond the full-breath value overfills the bar, a negative one hangs
    // below its base; but a level or full-breath value that gives no finite height (an
    // infinite or undefined level, a full-breath value of 0) would hand the host a
    // rectangle without an edge, so then the fill is left out.
    const float filled = unit.pixels(bar.h * ratio);
    if (!std::isfinite(filled))
        return;
    fill(left, base, left + unit.pixels(bar.w), base - filled, fillColour, shift);
}
