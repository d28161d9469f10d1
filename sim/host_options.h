#pragma once

#include <cstdint>

#include "world_state.h"

// The host's code at the sites of the option sets: its text code with the operands the
// font set rewrites and the calls of its two text flag setters, the four calls that draw
// 3D markers and the four calls that aim the camera. Every call is made from host code
// that keeps the stack pointer before it pushes and checks it after the call, so a routine
// that removes the wrong number of arguments shows in the trace (`site_return`).

namespace sim {

class ImageWriter;

void writeOptionSites(ImageWriter& image);

// The records of this frame's camera calls, written with the world.
void writeOptionsWorld(const OptionsWorldState& options);

// The host's calls of this frame, in its order: the camera calls, the markers, then the
// text code.
void reachOptionSites(const OptionsWorldState& options);

// What the host's own text code reads where the font set puts its operands.
constexpr float hostTextUnit = 1.0f / 448.0f;
constexpr int32_t hostTextLines = 448;
// The camera scalar the host's own fixed-point aim sets.
constexpr float hostCameraScalar = 0.2f;
// The flag bytes as the host leaves them before the first text flag call.
constexpr uint8_t hostTextFlagBytes[3] = {0xA1, 0xB2, 0xC3};

} // namespace sim
