#pragma once

#include <cstdint>

#include "host/host.h"

// The host's radio display and crosshair as the simulated host runs them, each frame after
// the HUD stage: host code calls the crosshair routine (host::crosshair_draw), then the
// radio code loads the radio object into ECX, stores the radio word with the host's 6-byte
// instruction at host::site_radio_store and calls the radio-display method
// (host::radio_display) on the object. The host calls both whether or not the player
// drives; deciding what shows is the routines' own business.

namespace sim {

class ImageWriter;
struct WorldState;

void writeAimRoutines(ImageWriter& image);
// The crosshair call, then the radio code.
void reachAimStage();

// The radio object (station, step, change flag), written when it differs from the one last
// written, so that what the radio routine writes into it lasts; the camera records, the
// active index, the two flags and the aim fractions, written with every world.
void writeAimWorld(const WorldState& world);

// Where the simulated host lays its crosshair call and its radio code (its own choice).
constexpr uint32_t crosshairStage = host::crosshair_draw.address - 0x20;
constexpr uint32_t radioStage = host::site_radio_store - 5;

} // namespace sim
