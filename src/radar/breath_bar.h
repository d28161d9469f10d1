#pragma once

#include "data/layout.h"
#include "data/placement.h"
#include "data/screen_unit.h"
#include "host/types.h"

// The vertical breath bar beside a radar frame: a black border, a darker background and
// the fill, which grows upward from the bar's base by `ratio` of the bar's height. `bar`
// is a hud.dat record: x from the left edge, y from the bottom edge up to the base; `shift`
// moves all of it with its radar.
void drawBreathBar(const LayoutBox& bar, float ratio, const Colour& fill, const Shift& shift, const ScreenScale& unit);
