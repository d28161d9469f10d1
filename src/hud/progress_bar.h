#pragma once

#include <cstdint>

#include "host/types.h"
#include "platform/callconv.h"

// Replaces the host's progress-bar routine (the host jumps here from its own address, and
// the stats box calls that address): a flat bar on a translucent background, an optional
// second segment, an optional dark frame and an optional percentage riding on the end of
// the fill. Coordinates are pixels as the caller passes them.
KH_CDECL void DrawProgressBar(float x, float y, uint16_t width, uint8_t height, float percent, int8_t segment,
                              uint8_t showText, uint8_t frame, Colour colour1, Colour colour2);

// The bar's body: background, fill up to `percent` of `w`, and a second segment of
// `segment` percent that ends where the fill ends.
void DrawBarFill(float x, float y, float w, float h, float percent, float segment, const Colour& colour1,
                 const Colour& colour2);

// "%d%%" of the integer part of `percent`, clamped to the int range (NaN as 0), into
// out[0..size). percentTextSize holds any of them.
constexpr uint32_t percentTextSize = 13;
void formatPercent(char* out, uint32_t size, float percent);
