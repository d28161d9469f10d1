#pragma once

#include "data/layout.h"
#include "data/screen_unit.h"
#include "state/hud_state.h"

// The cash window: opened for a while by the cash cue (state/cash_cue.h). While it is open
// the HUD shows the cash, the zone and vehicle names and the weapon.

// Opens the window on a cue, or keeps it open; says (and tells the weapon rows, through
// state.cashShown) whether it is open now.
bool cashWindowOpen(HudElementState& state);

// The player's money, below the wanted stars when they show.
void drawCash(const HudLayout& layout, const HudElementState& state, const ScreenScale& unit);
