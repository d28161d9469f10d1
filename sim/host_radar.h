#pragma once

#include <cstdint>

#include "host/host.h"

// The host's radar map and blip layers as the simulated host runs them.
//
// The map layer (host::radar_draw_map) is machine code: it builds a stack frame whose byte
// at +0x13 the scenario decides, loads known values into every register, runs the host's
// two instructions at host::site_map_blend (the byte into AL, then the test) and carries on
// at 0x586420 with code that branches on the test's flags and records what it found
// ("map_blend_resume"), then makes the gang overlay colour and returns.
//
// The blip layer (host::radar_draw_blips, a substitute) converts each scenario blip's point
// with a call of host::radar_to_screen from host code, then calls the blip sprite routine,
// the level marker routine and, through its call site, the sized marker, each from host
// code with the host's stack words (byte arguments with foreign upper bytes).

namespace sim {

class ImageWriter;
struct WorldState;

void writeRadarLayers(ImageWriter& image);
// The body of the map layer; the stub at its entry jumps here as to a substitute.
constexpr uint32_t mapLayerBody = host::radar_draw_map.address + 0x10;
// Host memory the radar reads: the map view and the map-screen flag.
void writeRadarWorld(const WorldState& world, bool mapScreenShown);
// The blip layer's work for one frame.
void drawHostBlips();
// The player's arrow at the radar's centre, after the arrow colour call: traced as
// "radar_draw_arrow" [colour] and drawn in the preview.
void drawHostArrow();
// Where the host's map lies on the screen: the corners of radar space converted from host
// code, as the host's map drawing converts the corners of its map. False when the
// conversion leaves them unwritten (the display is off). The preview asks once, after the
// last frame.
bool hostMapPlacement(Rect& out);
// What the host's sprite check answers for a sprite id (the blip being drawn decides).
bool hostSpriteCheck(int32_t id);

// Where the host's blip point starts before it is converted: a routine that leaves it
// unwritten leaves this.
constexpr float unconvertedPoint = -9999.0f;

} // namespace sim
