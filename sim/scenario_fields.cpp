#include "scenario_fields.h"

#include "text/printable.h"

#include <stdexcept>

namespace sim {

void bad(const std::string& path, const std::string& what)
{
    throw std::runtime_error("scenario: " + path + ": " + what);
}

// A field's name comes from the file: escaped and cut, as every message line.
std::string fieldPath(const std::string& path, const std::string& field)
{
    return path.empty() ? printable(field, 40) : path + "." + printable(field, 40);
}

void onlyFields(const nlohmann::json& j, const std::string& path, std::span<const char* const> known)
{
    if (!j.is_object())
        bad(path.empty() ? "the scenario" : path, "must be an object");
    for (auto it = j.begin(); it != j.end(); ++it) {
        bool found = false;
        for (const char* name : known)
            found |= it.key() == name;
        if (found)
            continue;
        std::string fields;
        for (const char* name : known)
            fields += (fields.empty() ? "" : ", ") + std::string(name);
        bad(fieldPath(path, it.key()), "unknown field; the fields here are " + fields);
    }
}

int64_t integer(const nlohmann::json& j, const std::string& path, int64_t lo, int64_t hi)
{
    bool inRange = j.is_number_integer() &&
                   (!j.is_number_unsigned() || j.get<uint64_t>() <= uint64_t{std::numeric_limits<int64_t>::max()});
    int64_t v = inRange ? j.get<int64_t>() : 0;
    if (!inRange || v < lo || v > hi)
        bad(path, "must be a whole number from " + std::to_string(lo) + " to " + std::to_string(hi));
    return v;
}

} // namespace sim
