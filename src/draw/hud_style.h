#pragma once

#include <cstdint>

#include "data/colours.h"
#include "data/layout.h"
#include "host/types.h"

// Small pieces every element of the player information shares: named colours with an
// alpha of the element's own, the records of hud.dat, the screen edges and the text style
// of the cash and the area names.

// Red, green and blue of a named colour with the caller's alpha, made by the host.
Colour hudColour(HudColour name, uint8_t alpha);
// Any colour, made by the host.
Colour makeColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a);

const LayoutBox& layoutOf(LayoutRecord record);

// The screen edges in pixels, read afresh at every use.
float screenWidth();
float screenHeight();

// The style of the cash text and of the zone and vehicle names: right-aligned, outlined,
// in `font`, at the text scale of the record's w and h.
void setNameStyle(int32_t font, const LayoutBox& box);
// The text colour and the black second colour, both with the same alpha.
void setNameColours(HudColour text, uint8_t alpha);
