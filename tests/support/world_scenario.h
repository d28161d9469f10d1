#pragma once

#include <stdexcept>
#include <string>

#include "scenario.h"

// A scenario made of a world list alone, and the error it gives (or "no error").

inline sim::Scenario parseWorld(const std::string& world)
{
    return sim::parseScenario(R"({"world": )" + world + "}");
}

inline std::string worldErrorOf(const std::string& world)
{
    try {
        parseWorld(world);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "no error";
}
