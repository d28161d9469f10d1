#pragma once

#include "host/types.h"

// One half of the ring around the radar disc: the progress-ring frame that shows `value`
// (a share of full), stretched over the box x, y, w, h (pixels) with the texture
// coordinates `uv` at the sprite's four corners, so that either half of the ring texture
// can be used.
void DrawRingGauge(float value, const Colour& colour, float x, float y, float w, float h, const Vec2 (&uv)[4]);

// The progress-ring frame for a share: an index into the progress bar table (0 for the
// full ring "00" up to 19 for the last sliver "190"), or -1 for none. Shares above 1 show
// the full ring; a share of 0 or less, or not a number, shows nothing.
int ringGaugeFrame(float value);
