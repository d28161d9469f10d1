#pragma once

#include "data/layout.h"
#include "state/hud_state.h"

// The plug-in's per-frame HUD routine: the host's own one at 0x58EAF0 jumps here.
void DrawHud();
// Derived positions and slides from what the elements showed in the previous frame.
void updateHudLayout(const HudLayout& layout, HudElementState& state);
