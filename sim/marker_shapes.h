#pragma once

#include <cstddef>
#include <cstdint>

#include "world_state.h"

// Stack words each marker site's host function takes, and which of them is the point: the
// host's option sites push them, and a scenario gives at most the others.

namespace sim {

struct MarkerShape {
    uint32_t site;
    uint32_t function;
    uint8_t words;
    uint8_t pointWord;
};

constexpr size_t markerSiteCount = 4; // MarkerSite's values
const MarkerShape& markerShape(MarkerSite site);

} // namespace sim
