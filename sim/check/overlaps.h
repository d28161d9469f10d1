#pragma once

#include <string>
#include <vector>

#include "check/data_check.h"

// `kellhud-sim --check --overlaps`: the hud.dat elements whose boxes (those --outline draws)
// overlap or leave the screen, and subtitles squeezed to a few words, on the screen shapes
// players use: 1280x720, 1920x1080, 2560x1440, 3440x1440, 5120x1440 and 1080x1920 (and a
// size of the modder's own). One warning per pair or key, listing the sizes. Pairs that
// share their place by design are left out: a radar ring and its map, the phone and its
// clock and day, the names and the phone (never shown together), the cash and the ammo
// counter (which moves down below the cash while it shows).

namespace check {

struct ScreenSize {
    int width, height;
};

// The sizes every layout is tried at.
extern const std::vector<ScreenSize> overlapSizes;

// The layout file below a plug-in folder (the folder holding kell-hud/), at overlapSizes
// and `extra` when it is not among them (a width of 0: none).
std::vector<Finding> checkOverlaps(const std::string& dir, ScreenSize extra = {0, 0});

} // namespace check
