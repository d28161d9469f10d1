#pragma once

#include <cstdint>

#include "host/types.h"

// The road route to the map target, drawn as a band after the host's radar (and on its
// full-screen map): subscribed to the host's radar overlay event.
void DrawGpsRoute();

// The host's screen-space vertex, as im2d_draw takes it.
struct RouteVertex {
    float x, y;
    float depth;
    float recipDepth;
    uint32_t colour; // 0xAARRGGBB
    float u, v;
};
static_assert(sizeof(RouteVertex) == 28);

// The host's search stops at this many nodes; the buffers hold that many.
constexpr int32_t routeMaxNodes = 2000;

extern uint32_t routeNodes[routeMaxNodes];
extern Vec2 routePoints[routeMaxNodes];
extern RouteVertex routeVertices[4 * routeMaxNodes];
extern float routeDistance;
