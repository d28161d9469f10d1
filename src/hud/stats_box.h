#pragma once

#include "data/layout.h"
#include "data/screen_unit.h"
#include "host/types.h"
#include "state/hud_state.h"

// The stats box: a dark panel at the bottom left that slides in with the cellphone's
// window and lists seven player statistics, each a label above a thin bar.
void drawStatsBox(const HudLayout& layout, HudElementState& state, const ScreenScale& unit);

// Fills a rectangle as a flat translucent panel: render states 7 and 12 are switched for
// the fill and put back afterwards, 7 first.
void FillRectPlain(const Rect& rect, const Colour& colour);

// The skill statistic of a weapon model, or -1 for a model without one.
int32_t weaponSkillStatistic(int32_t model);
