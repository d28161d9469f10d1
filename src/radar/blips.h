#pragma once

#include <cstdint>

#include "platform/callconv.h"

// The host's blips and markers in this style. The host decides which blips exist, where
// they lie and which level marker a blip gets; these routines only draw what they are
// handed. Byte arguments arrive in 32-bit stack slots whose upper bytes are not ours.

// Replaces the host's blip sprite routine: the blip's icon as a 26-unit square.
KH_CDECL void DrawBlipSprite(uint8_t id, float x, float y, uint8_t alpha);

// Replaces the host's level marker routine: above (kind 0), below (1) or level (2) as this
// style's 18-unit sprites; other kinds draw nothing.
KH_CDECL void DrawLevelMarker(float x, float y, uint32_t unused, uint8_t r, uint8_t g, uint8_t b, uint8_t a,
                              uint8_t kind);

// Stands at the host's call of its sized marker and passes this style's two sizes instead
// of the host's.
KH_CDECL void DrawSizedMarker(uint32_t a0, float a1, float a2, float a3, int32_t width, int32_t height,
                              uint32_t a6);
