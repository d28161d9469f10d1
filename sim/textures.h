#pragma once

#include <cstdint>

// The textures the simulated host has loaded, by the id a bound sprite handle holds.

namespace sim {

// The name of a loaded texture; nullptr for 0 (no texture) or an id not known.
const char* textureName(uint32_t id);

} // namespace sim
