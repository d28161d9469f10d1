#pragma once

#include "host/host.h"

// The host's full-screen map, as its menu state record tells it.

struct MapView {
    float scale, originX, originY;
};

// Inline: the radar transform asks for every point it converts.
inline bool mapScreenShown() { return host::load<uint8_t>(host::menu_state.address + host::menu_map_shown) != 0; }
MapView mapView();

// A point of the host's 640 x 448 map frame, scaled to the screen's pixels and then
// adjusted by the host (host::map_screen_adjust), as the host does before it draws a blip
// on the map screen.
void mapFrameToScreen(float& x, float& y);
