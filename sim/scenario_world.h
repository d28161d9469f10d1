#pragma once

#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "world_state.h"

namespace sim {

// The world list of a scenario: for each entry, its frame and the whole world state from
// that frame on. Throws std::runtime_error naming the entry and field at fault.
std::vector<std::pair<int, WorldState>> parseWorld(const nlohmann::json& list);

} // namespace sim
