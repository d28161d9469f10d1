#pragma once

#include <string>
#include <vector>

#include "txd/png.h"

// kellhud-sim --outline: each hud.dat element's box over the picture, labelled with its key,
// so a modder sees which numbers move what. The boxes follow what hud.dat's comments say
// of each key (the edge it is measured from, the offsets that move it); a text's box is as
// tall as its scale and a few characters wide, since the text itself decides its width.

namespace sim::preview {

struct OutlineBox {
    std::string key;
    float left, top, right, bottom;
};

// The boxes of the hud.dat text at a screen size; keys the file lacks count as 0 0 0 0, as
// the plug-in reads them. The crosshair (plain pixels around the aim point) has none.
std::vector<OutlineBox> outlineBoxes(const std::string& layoutText, int width, int height);

void drawOutlines(png::Image& image, const std::vector<OutlineBox>& boxes);

} // namespace sim::preview
