#include "substitutes.h"

#include <map>

namespace sim {

namespace {

std::map<uint32_t, const void*>& table()
{
    static std::map<uint32_t, const void*> substitutes;
    return substitutes;
}

} // namespace

void addSubstitute(uint32_t address, const void* function) { table()[address] = function; }

const void* substituteAt(uint32_t address)
{
    auto it = table().find(address);
    return it == table().end() ? nullptr : it->second;
}

void clearSubstitutes() { table().clear(); }

} // namespace sim
