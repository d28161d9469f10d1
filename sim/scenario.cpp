#include "scenario.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "scenario_world.h"

namespace sim {

namespace {

using nlohmann::json;

FrameSpan spanOf(const json& j)
{
    FrameSpan span;
    span.from = j.value("from", 1);
    span.to = j.value("to", span.from);
    return span;
}

// A render state is named by its number, written as a JSON key.
int32_t renderStateNumber(const std::string& key)
{
    size_t used = 0;
    int32_t number = -1;
    try {
        number = std::stoi(key, &used);
    } catch (const std::exception&) {
    }
    if (used != key.size() || key.empty() || number < 0)
        throw std::runtime_error("scenario: render_states: \"" + key + "\" is not a render state number");
    return number;
}

uint32_t renderStateValue(const std::string& key, const json& value)
{
    if (!value.is_number_unsigned() || value.get<uint64_t>() > UINT32_MAX)
        throw std::runtime_error("scenario: render_states." + key + ": must be a whole number from 0 to 4294967295");
    return value.get<uint32_t>();
}

} // namespace

const WorldState& Scenario::worldAt(int frame) const
{
    static const WorldState defaults;
    const WorldState* found = &defaults;
    for (const auto& [from, state] : world)
        if (from <= frame)
            found = &state;
    return *found;
}

Scenario parseScenario(const std::string& text)
{
    Scenario s;
    try {
        json j = json::parse(text);
        if (j.contains("screen")) {
            s.width = j["screen"].at(0).get<int>();
            s.height = j["screen"].at(1).get<int>();
        }
        s.frames = j.value("frames", s.frames);
        if (j.contains("clock")) {
            s.startMs = j["clock"].value("start_ms", s.startMs);
            s.stepMs = j["clock"].value("step_ms", s.stepMs);
        }
        for (const json& step : j.value("steps", json::array()))
            s.steps[step.at("frame").get<int>()] = step.at("ms").get<uint32_t>();
        for (const json& hold : j.value("keys", json::array()))
            s.keys.push_back({hold.at("key").get<int>(), spanOf(hold)});
        for (const json& span : j.value("map_screen", json::array()))
            s.mapScreen.push_back(spanOf(span));
        for (const json& module : j.value("modules", json::array()))
            s.modules.push_back(module.get<std::string>());
        if (j.contains("render_states"))
            for (const auto& [state, value] : j["render_states"].items())
                s.renderStates[renderStateNumber(state)] = renderStateValue(state, value);
        if (j.contains("texts"))
            for (const auto& [key, value] : j["texts"].items())
                s.texts[key] = value.get<std::string>();
        if (j.contains("world"))
            s.world = parseWorld(j["world"]);
    } catch (const json::exception& e) {
        throw std::runtime_error(std::string("scenario: ") + e.what());
    }
    if (s.width <= 0 || s.height <= 0 || s.frames < 0)
        throw std::runtime_error("scenario: screen size and frame count must be positive");
    return s;
}

Scenario loadScenario(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read scenario " + path);
    std::stringstream text;
    text << in.rdbuf();
    return parseScenario(text.str());
}

} // namespace sim
