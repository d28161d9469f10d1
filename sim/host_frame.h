#pragma once

#include "scenario.h"

// The host's frame as the simulated host runs it.

namespace sim {

// Writes the host state of the scenario into the image: screen size, clock, the world as
// it is before the first frame.
void applyScenarioStart(const Scenario& scenario);
// Sets the clock, the keys held and the world for a frame.
void applyFrame(const Scenario& scenario, int frame);
// Reaches, in the host's order, every site of one frame.
void runHostFrame(const Scenario& scenario, int frame);

// Writes a world state into the host's memory (time_ms must be set first: the alternate
// clock follows it) and keeps it for the substitutes that answer from it.
void writeWorld(const WorldState& world);
// The world state last written.
const WorldState& currentWorld();
// A pad method called on anything but the host's pad stops the run with a message naming
// it, as the host would crash on it (a null pad when pad_get gave none).
void checkPad(const void* pad, const char* op);

} // namespace sim
