#pragma once

#include "data/layout.h"
#include "data/screen_unit.h"
#include "platform/callconv.h"

// The plug-in's radar routine: the host's own one at 0x58A330 jumps here once a frame.
// It draws the ringed frame with its gauges and flashes around the host's map and blips.
KH_CDECL void DrawRadar();

// The red and blue flash over the first radar ring while the player is wanted.
void drawWantedFlash(const HudLayout& layout, const ScreenScale& unit);
