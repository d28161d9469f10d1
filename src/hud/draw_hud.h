#pragma once

// The plug-in's per-frame HUD routine: the host's own one at 0x58EAF0 jumps here.
void DrawHud();
// Derived positions and slides from what the elements showed in the previous frame.
void UpdateHudLayout();
