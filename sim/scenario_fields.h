#pragma once

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <span>
#include <string>

#include <nlohmann/json.hpp>

// The checks every part of the scenario reader shares, so that each error names the field
// by its JSON path ("world[0].pad.cash") and says what was expected there.

namespace sim {

// Throws std::runtime_error("scenario: PATH: WHAT").
[[noreturn]] void bad(const std::string& path, const std::string& what);

// The path of a field of the object at `path` ("" is the whole scenario).
std::string fieldPath(const std::string& path, const std::string& field);

// Every field of an object must be one we know: a misspelt field would otherwise be
// silently ignored and the run would show the defaults.
void onlyFields(const nlohmann::json& j, const std::string& path, std::span<const char* const> known);
inline void onlyFields(const nlohmann::json& j, const std::string& path, std::initializer_list<const char*> known)
{
    onlyFields(j, path, std::span(known.begin(), known.size()));
}

int64_t integer(const nlohmann::json& j, const std::string& path, int64_t lo, int64_t hi);

template <class T>
T integerOf(const nlohmann::json& j, const std::string& path)
{
    return static_cast<T>(integer(j, path, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

} // namespace sim
