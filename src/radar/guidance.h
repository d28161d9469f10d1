#pragma once

#include <cstdint>

#include "host/types.h"

// The map target the player drives to, as the host keeps it: a handle in the menu state
// that names a radar trace record, and that record's position.
struct MapTarget {
    uint32_t handle;
    Vec3 position;
};

// Whether the route and the arrival are shown this frame: the player sits in a vehicle of
// a guided kind and a valid map target is set. Fills `target` when they are.
bool guidanceActive(MapTarget& target);
