#pragma once

#include <cstdint>

#include "host/types.h"
#include "platform/callconv.h"

// The host's 3D markers in this style: each routine stands at one host call and takes what
// the host pushed for the function it called there (cdecl: the host removes the
// arguments). Each draws one marker through host::marker_draw, or nothing while the
// display is switched off. `marker` is the host's first word, `kind` its second (as the
// trace names marker_draw_above's); words 9 to 15 go by their place in the call: they are
// passed on or zeroed, never looked into.

// At a call of host::marker_draw: the host's marker and colour, lowered, at this style's
// size.
KH_CDECL void DrawHostColourMarker(int32_t marker, uint32_t kind, const Vec3* point, float size, uint8_t r, uint8_t g,
                                   uint8_t b, uint8_t a, float word9, float word10, uint8_t word11, uint32_t word12,
                                   uint32_t word13, uint32_t word14, uint32_t word15);

// At a call of host::marker_draw: in place, small, yellow, a third as opaque.
KH_CDECL void DrawYellowMarkerFaint(int32_t marker, uint32_t kind, const Vec3* point, float size, uint8_t r, uint8_t g,
                                    uint8_t b, uint8_t a, float word9, float word10, uint8_t word11, uint32_t word12,
                                    uint32_t word13, uint32_t word14, uint32_t word15);

// At a call of host::marker_draw_ground: yellow, lowered.
KH_CDECL void DrawYellowMarkerLow(int32_t kind, const Vec3* point, float size, uint8_t r, uint8_t g, uint8_t b,
                                  uint8_t a);

// At a call of host::marker_draw_above: yellow, lifted.
KH_CDECL void DrawYellowMarkerHigh(int32_t marker, uint32_t kind, const Vec3* point, float size, uint8_t r, uint8_t g,
                                   uint8_t b, uint8_t a);
