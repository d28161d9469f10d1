#pragma once

// Builds the simulated host: maps its image (again, from scratch, if it is already there),
// writes every host function's entry and every site and routine of the host's code, and
// records what it wrote, so that later changes can be listed as patches.

namespace sim {

void buildHostImage();

} // namespace sim
