#pragma once

#include "platform/callconv.h"

// Replaces the host's crosshair routine whole: by camera mode and weapon, a sniper scope,
// a rocket scope with black side bars, a camera viewfinder, the four-piece crosshair at the
// aim point, or in first-person views a centred first-person crosshair.
KH_CDECL void DrawCrosshair();
