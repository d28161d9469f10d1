#pragma once

// The row of six wanted stars, the first slot at (x, y) in pixels, the others to its left.
void DrawWantedStars(float x, float y);
