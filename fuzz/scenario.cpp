// The scenario reader over any text: it reads a scenario or refuses it with a message
// that starts "scenario: " and names the field; nothing else may escape it.

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "property.h"
#include "scenario.h"

namespace {

// Whether some object of the JSON text gives a field twice: the JSON library keeps only
// the last, so the scenario would silently run with a value the author may not mean.
bool hasRepeatedField(const std::string& source)
{
    using nlohmann::json;
    std::vector<std::set<std::string>> open;
    bool repeated = false;
    try {
        (void)json::parse(source, [&](int, json::parse_event_t event, json& parsed) {
            if (event == json::parse_event_t::object_start)
                open.emplace_back();
            else if (event == json::parse_event_t::object_end)
                open.pop_back();
            else if (event == json::parse_event_t::key && !open.empty())
                repeated |= !open.back().insert(parsed.get<std::string>()).second;
            return true;
        });
    } catch (const json::exception&) {
        return false;
    }
    return repeated;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string source(reinterpret_cast<const char*>(data), size);
    try {
        const sim::Scenario scenario = sim::parseScenario(source);
        require(scenario.width >= 1 && scenario.height >= 1 && scenario.frames >= 0,
                "a scenario read has a screen and no negative frame count");
        for (const sim::KeyHold& hold : scenario.keys)
            require(hold.key >= 1 && hold.key <= 255, "a held key is a virtual-key code");
        require(!hasRepeatedField(source), "a scenario that gives a field twice is refused");
    } catch (const std::runtime_error& e) {
        require(std::string(e.what()).rfind("scenario: ", 0) == 0, "a refusal says it is about the scenario",
                e.what());
    }
    return 0;
}
