#pragma once

#include "data/screen_unit.h"
#include "state/hud_state.h"

// The row of six wanted stars, the first slot at (x, y) in pixels, the others to its left.
// Tells the cash line (through state.starsShown) whether a star is lit.
void drawWantedStars(float x, float y, HudElementState& state, const ScreenScale& unit);
