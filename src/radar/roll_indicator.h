#pragma once

#include "data/layout.h"
#include "data/screen_unit.h"
#include "host/types.h"

// A small plane in the middle of the radar that banks with the player's vehicle.
void drawRollIndicator(const HudLayout& layout, const ScreenScale& unit);

// Turns four points about (cx, cy) by `angle` radians, in place; y grows upward.
void RotateQuad(Vec2 (&points)[4], float cx, float cy, float angle);
