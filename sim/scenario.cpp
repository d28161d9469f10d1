#include "scenario.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "scenario_fields.h"
#include "scenario_world.h"

namespace sim {

namespace {

using nlohmann::json;

// A frame span {"from": F, "to": T}; `to` defaults to `from`.
FrameSpan spanOf(const json& j, const std::string& path)
{
    onlyFields(j, path, {"from", "to"});
    FrameSpan span;
    if (j.contains("from"))
        span.from = integerOf<int>(j["from"], path + ".from");
    span.to = j.contains("to") ? integerOf<int>(j["to"], path + ".to") : span.from;
    return span;
}

// A list field of the scenario, each item read by `read` under its own path ("keys[2]").
template <class Read>
void eachItem(const json& j, const char* field, Read read)
{
    if (!j.contains(field))
        return;
    const json& list = j[field];
    if (!list.is_array())
        bad(field, "must be a list");
    for (size_t i = 0; i < list.size(); ++i)
        read(list[i], std::string(field) + "[" + std::to_string(i) + "]");
}

std::string text(const json& j, const std::string& path)
{
    if (!j.is_string())
        bad(path, "must be a text");
    return j.get<std::string>();
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

Scenario parseScenario(const std::string& source)
{
    Scenario s;
    try {
        json j = json::parse(source);
        onlyFields(j, "", {"screen", "frames", "clock", "steps", "keys", "map_screen", "modules", "render_states",
                           "texts", "world", "renderer"});
        if (j.contains("screen")) {
            if (!j["screen"].is_array() || j["screen"].size() != 2)
                bad("screen", "must be a list of 2: [width, height]");
            s.width = integer(j["screen"][0], "screen[0]", 1, 16384);
            s.height = integer(j["screen"][1], "screen[1]", 1, 16384);
        }
        if (j.contains("frames"))
            s.frames = integer(j["frames"], "frames", 0, 1000000);
        if (j.contains("clock")) {
            onlyFields(j["clock"], "clock", {"start_ms", "step_ms"});
            if (j["clock"].contains("start_ms"))
                s.startMs = integerOf<uint32_t>(j["clock"]["start_ms"], "clock.start_ms");
            if (j["clock"].contains("step_ms"))
                s.stepMs = integerOf<uint32_t>(j["clock"]["step_ms"], "clock.step_ms");
        }
        eachItem(j, "steps", [&](const json& step, const std::string& path) {
            onlyFields(step, path, {"frame", "ms"});
            if (!step.contains("frame") || !step.contains("ms"))
                bad(path, "needs both \"frame\" and \"ms\"");
            s.steps[integerOf<int>(step["frame"], path + ".frame")] = integerOf<uint32_t>(step["ms"], path + ".ms");
        });
        eachItem(j, "keys", [&](const json& hold, const std::string& path) {
            onlyFields(hold, path, {"key", "from", "to"});
            if (!hold.contains("key"))
                bad(path + ".key", "missing: the virtual-key code held, e.g. 122 for F11");
            json span = hold;
            span.erase("key");
            s.keys.push_back({static_cast<int>(integer(hold["key"], path + ".key", 1, 255)), spanOf(span, path)});
        });
        eachItem(j, "map_screen",
                 [&](const json& span, const std::string& path) { s.mapScreen.push_back(spanOf(span, path)); });
        eachItem(j, "modules",
                 [&](const json& module, const std::string& path) { s.modules.push_back(text(module, path)); });
        if (j.contains("render_states")) {
            if (!j["render_states"].is_object())
                bad("render_states", "must be an object from render state number to value, e.g. {\"12\": 7}");
            for (const auto& [state, value] : j["render_states"].items())
                s.renderStates[renderStateNumber(state)] = renderStateValue(state, value);
        }
        if (j.contains("texts")) {
            if (!j["texts"].is_object())
                bad("texts", "must be an object from text key to text");
            for (const auto& [key, value] : j["texts"].items())
                s.texts[key] = text(value, "texts." + key);
        }
        if (j.contains("world"))
            s.world = parseWorld(j["world"]);
        if (j.contains("renderer"))
            s.renderer.clear();
        eachItem(j, "renderer", [&](const json& event, const std::string& path) {
            onlyFields(event, path, {"frame", "event"});
            if (!event.contains("frame") || !event.contains("event"))
                bad(path, "needs both \"frame\" and \"event\"");
            RendererEvent e;
            e.frame = integer(event["frame"], path + ".frame", 1, 1000000);
            if (event["event"] != "start" && event["event"] != "shutdown")
                bad(path + ".event", "must be \"start\" or \"shutdown\"");
            e.start = event["event"] == "start";
            if (!s.renderer.empty() && e.frame < s.renderer.back().frame)
                bad(path + ".frame", "events must be in frame order");
            s.renderer.push_back(e);
        });
    } catch (const json::exception& e) {
        throw std::runtime_error(std::string("scenario: ") + e.what());
    }
    return s;
}

Scenario loadScenario(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read scenario " + path);
    std::stringstream source;
    source << in.rdbuf();
    try {
        return parseScenario(source.str());
    } catch (const std::runtime_error& e) {
        // The file first, as compilers name it, so the message says where to look.
        throw std::runtime_error(path + ": " + e.what());
    }
}

} // namespace sim
