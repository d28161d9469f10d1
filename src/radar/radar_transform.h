#pragma once

#include "host/types.h"
#include "platform/callconv.h"

// The radar's place on screen and its zoom. Replaces the host's conversion of a radar-space
// point (-1..1 on both axes, +y up) to screen pixels; the host converts every blip and route
// point through it.
KH_CDECL void RadarToScreen(Vec2* out, const Vec2* in);
