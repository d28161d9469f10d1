#include "host/host.h"
#include "host_radar.h"
#include "substitutes.h"
#include "trace.h"

// The host's radar routines that the blip layer calls: its own conversion and drawing
// (which the plug-in replaces; each leaves its mark, so a test sees whether it still runs),
// its sprite check and count, its sized marker and its map-screen adjustment.

namespace sim {

namespace {

// The host's own radar: a 64-pixel radius around (100, 100).
constexpr float hostRadarCentre = 100.0f;
constexpr float hostRadarRadius = 64.0f;

// The host's map frame lies this far into the screen (its letterbox border).
constexpr float mapAdjustX = 10.0f;
constexpr float mapAdjustY = 5.0f;

KH_CDECL void radarToScreen(Vec2* out, const Vec2* in)
{
    trace::record("radar_to_screen", SIM_CALLER(), trace::args(trace::number(in->x), trace::number(in->y)));
    Vec2 p = *in;
    *out = {hostRadarCentre + p.x * hostRadarRadius, hostRadarCentre - p.y * hostRadarRadius};
}

KH_CDECL void radarDrawBlipSprite(uint8_t id, float x, float y, uint8_t alpha)
{
    trace::record("radar_draw_blip_sprite", SIM_CALLER(), trace::args(id, trace::number(x), trace::number(y), alpha));
}

KH_CDECL void radarDrawLevelMarker(float x, float y, uint32_t, uint8_t r, uint8_t g, uint8_t b, uint8_t a, uint8_t kind)
{
    trace::record("radar_draw_level_marker", SIM_CALLER(),
                  trace::args(trace::number(x), trace::number(y), trace::colour({r, g, b, a}), kind));
}

KH_CDECL void radarDrawSizedMarker(uint32_t a0, float a1, float a2, float a3, int32_t width, int32_t height, uint32_t a6)
{
    trace::record("radar_draw_sized_marker", SIM_CALLER(),
                  trace::args(a0, trace::number(a1), trace::number(a2), trace::number(a3), width, height, a6));
}

KH_CDECL bool radarSpriteCheck(int32_t id, int32_t a)
{
    bool answer = hostSpriteCheck(id);
    trace::record("radar_sprite_check", SIM_CALLER(), trace::args(id, a), answer);
    return answer;
}

KH_CDECL void radarSpriteDrawn(int32_t a, int32_t id)
{
    trace::record("radar_sprite_drawn", SIM_CALLER(), trace::args(a, id));
}

KH_CDECL void mapScreenAdjust(float* x, float* y)
{
    trace::record("map_screen_adjust", SIM_CALLER(), trace::args(trace::number(*x), trace::number(*y)));
    *x += mapAdjustX;
    *y += mapAdjustY;
}

} // namespace

void registerRadarSubstitutes()
{
    substitute(host::radar_to_screen, &radarToScreen);
    substitute(host::radar_draw_blip_sprite, &radarDrawBlipSprite);
    substitute(host::radar_draw_level_marker, &radarDrawLevelMarker);
    substitute(host::radar_draw_sized_marker, &radarDrawSizedMarker);
    substitute(host::radar_sprite_check, &radarSpriteCheck);
    substitute(host::radar_sprite_drawn, &radarSpriteDrawn);
    substitute(host::map_screen_adjust, &mapScreenAdjust);
    // The host's map drawing is machine code of the simulated host, not a C++ stand-in.
    addSubstitute(host::radar_draw_map.address, reinterpret_cast<const void*>(uintptr_t{mapLayerBody}));
}

} // namespace sim
