#pragma once

#include <string>
#include <vector>

#include "data/layout.h"
#include "data/screen_unit.h"
#include "txd/png.h"

// kellhud-sim --outline: each hud.dat element's box over the picture, labelled with its key,
// so a modder sees which numbers move what. A box is where the plug-in draws the element:
// the same reader, the same whole pixels, the same anchors and groups. The player block's
// rows are boxed as pushed down with everything shown (stars, cash and counters), the
// lowest they reach; higher up they only take the place the stars and cash leave free.
// A text's box is as tall as its lines and as wide as what it prints at its longest in play.

namespace sim::preview {

struct OutlineBox {
    std::string key;
    float left, top, right, bottom;
};

// hud.dat as the plug-in reads it: a missing file or key counts as zeros.
HudLayout layoutOfFile(const std::string& path);

// How wide subtitle lines may be, in pixels, as the plug-in sets it: 0 or less and they
// do not wrap at all.
float subtitleLineWidth(const HudLayout& layout, const ScreenScale& unit);

// The boxes of a layout at a screen size. The aiming crosshair (plain pixels around the
// aim point) and the second radar map (never drawn) have none.
std::vector<OutlineBox> outlineBoxes(const HudLayout& layout, int width, int height);

void drawOutlines(png::Image& image, const std::vector<OutlineBox>& boxes);

} // namespace sim::preview
