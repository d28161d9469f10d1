#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/types.h"

// What the simulated host keeps outside its image: the state its substitutes change.

namespace sim {

struct TextState {
    Vec2 scale{};
    Colour colour{};
    Colour secondColour{};
    int32_t font = 0;
    int32_t alignment = 0;
    int32_t modePair[2] = {0, 0};
    uint8_t flagP = 0, flagQ = 0, flagR = 0, flagS = 0;
    float alpha = 255.0f;
    Colour boxColour{};
    float widthA = 0.0f, widthB = 0.0f, widthC = 0.0f; // line widths
};

struct HostState {
    TextState text;
    std::vector<std::string> helpMessages;
    // The host's text table: text by key (the scenario's `texts`).
    std::map<std::string, std::string> texts;
};

HostState& hostState();

} // namespace sim
