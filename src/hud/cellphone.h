#pragma once

#include "data/layout.h"
#include "data/screen_unit.h"
#include "state/hud_state.h"

// The cellphone: a phone sprite with the day of the week and the game clock that slides up
// from the bottom-right corner for a while after the phone cue.
void drawCellphone(const HudLayout& layout, HudElementState& state, const ScreenScale& unit);

// The cue the cellphone and the stats box share: the host's phone cue while the current
// character is on foot, or the Tab key held. A cue opens the shared window (or keeps it
// open); the result says whether the window is open now.
bool phoneWindowOpen(HudElementState& state);
