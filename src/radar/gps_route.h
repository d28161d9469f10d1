#pragma once

// The road route to the map target, drawn as a band after the host's radar (and on its
// full-screen map): subscribed to the host's radar overlay event.
void DrawGpsRoute();
