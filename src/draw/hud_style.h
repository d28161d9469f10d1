#pragma once

#include <cstdint>

#include "data/colours.h"
#include "data/layout.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "host/types.h"
#include "state/plugin.h"

// Small pieces every element of the player information shares: named colours with an
// alpha of the element's own, the records of hud.dat, the screen edges and the text style
// of the cash and the area names.

// Inline, as the elements call them many times a frame (the route band once per leg).

// Any colour, made by the host.
inline Colour makeColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    Colour c;
    host::make_colour(&c, r, g, b, a);
    return c;
}

// Red, green and blue of a named colour with the caller's alpha, made by the host.
inline Colour hudColour(HudColour name, uint8_t alpha)
{
    const Colour& c = plugin.colours[name];
    return makeColour(c.r, c.g, c.b, alpha);
}

// The screen edges in pixels, read afresh at every use.
inline float screenWidth() { return static_cast<float>(host::screen_width.get()); }
inline float screenHeight() { return static_cast<float>(host::screen_height.get()); }

// The style of the cash text and of the zone and vehicle names: right-aligned, outlined,
// in `font`, at the text scale of the record's w and h.
void setNameStyle(int32_t font, const LayoutBox& box, const ScreenScale& unit);
// The text colour and the black second colour, both with the same alpha.
void setNameColours(HudColour text, uint8_t alpha);
