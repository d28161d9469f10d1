#pragma once

// The product label, version and signature in the top right corner, while the display is on.
void drawWatermark();
