#pragma once

#include "host/types.h"

// The road route to the map target, drawn as a band after the host's radar (and on its
// full-screen map): subscribed to the host's radar overlay event.
void DrawGpsRoute();

// The offsets of a route leg's two long sides from the leg, `halfWidth` pixels either side.
struct BandOffsets {
    Vec2 first;  // the leg's direction turned back a quarter turn: the strip's first side
    Vec2 second; // the opposite side
};
BandOffsets routeBandOffsets(Vec2 from, Vec2 to, float halfWidth);
