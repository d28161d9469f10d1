#include "substitutes.h"

// The host's players, pads, weapons and wanted level, from the scenario.

namespace sim {

void registerWorldSubstitutes() {}

} // namespace sim
