#pragma once

#include <string>
#include <vector>

#include "check/data_check.h"

// `kellhud-sim --check --overlaps`: the hud.dat elements whose boxes (those --outline
// draws) overlap on a 1920x1080 or a 1280x720 screen, one warning per pair, named by key.
// Pairs that share their place by design are left out: a radar ring and its map, the phone
// and its clock and day, the names and the phone (never shown together), the cash and the
// ammo counter (which moves down below the cash while it shows).

namespace check {

// The layout file below a plug-in folder (the folder holding kell-hud/).
std::vector<Finding> checkOverlaps(const std::string& dir);

} // namespace check
