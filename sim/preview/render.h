#pragma once

#include <string>

#include "host/types.h"
#include "txd/png.h"

// The preview picture: the recorded frame drawn over a neutral background, as the host
// would show it.

namespace sim::preview {

// Where the host's radar map lies on the screen, when it was drawn and could be placed.
struct MapPlacement {
    bool known = false;
    Rect rect{};
};

// Draws the recorded frame at the screen's size. False (with a reason) when the fonts for
// its text cannot be opened.
bool renderFrame(png::Image& image, int width, int height, const MapPlacement& map, std::string& error);

// Whether a picture can be written to `path`: checked before a run, so that a bad path
// costs no run. Makes the file (empty) to find out.
bool checkPicturePath(const std::string& path, std::string& error);

} // namespace sim::preview
