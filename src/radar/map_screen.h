#pragma once

// The host's full-screen map, as its menu state record tells it.

struct MapView {
    float scale, originX, originY;
};

bool mapScreenShown();
MapView mapView();

// A point of the host's 640 x 448 map frame, scaled to the screen's pixels and then
// adjusted by the host (host::map_screen_adjust), as the host does before it draws a blip
// on the map screen.
void mapFrameToScreen(float& x, float& y);
