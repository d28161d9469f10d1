#pragma once

#include "scenario.h"

// The host's frame as the simulated host runs it.

namespace sim {

// Writes the host state of the scenario into the image: screen size, clock.
void applyScenarioStart(const Scenario& scenario);
// Sets the clock and the keys held for a frame.
void applyFrame(const Scenario& scenario, int frame);
// Reaches, in the host's order, every site of one frame.
void runHostFrame(const Scenario& scenario, int frame);

} // namespace sim
