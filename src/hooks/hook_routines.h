#pragma once

#include <cstdint>

#include "host/types.h"
#include "platform/callconv.h"

// The small routines the hook maps lead the host to besides the HUD and radar elements.

// Replaces the host's routine that fills its array of 15 HUD colours: the same array from
// this style's colour table, every entry opaque.
KH_THISCALL void FillHudColourArray(Colour* colours);

// Stand at the host's calls that make the radar arrow's colour and the gang overlay's
// colour (the shape of host::make_colour); both return the colour object.
KH_THISCALL Colour* MakeArrowColour(Colour* self, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
KH_THISCALL Colour* MakeGangOverlayColour(Colour* self, uint8_t r, uint8_t g, uint8_t b, uint8_t a);

// Replaces a host drawing routine this style does without.
KH_CDECL void DoNothing();

// Plug-in constants the host's radar arrow code reads by address.
extern const float arrowConstantEight;
extern const float arrowConstantFour;
