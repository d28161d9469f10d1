#pragma once

// The cash window: opened for a while by its key or the host's cue, with the zone and
// vehicle names and the weapon shown beside it.
void DrawCashBlock();
void DrawCash();
