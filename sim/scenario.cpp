#include "scenario.h"

#include <cctype>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "host_image.h"
#include "scenario_fields.h"
#include "scenario_world.h"
#include "text/file_kind.h"
#include "text/printable.h"

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

// "0x58AE02": an address in hexadecimal.
uint32_t hexAddress(const json& j, const std::string& path)
{
    const std::string addr = text(j, path);
    char* end = nullptr;
    const unsigned long address = addr.rfind("0x", 0) == 0 ? std::strtoul(addr.c_str() + 2, &end, 16) : 0;
    if (!end || *end || addr.size() < 3)
        bad(path, "must be a hexadecimal address such as \"0x58AE02\"");
    return static_cast<uint32_t>(address);
}

// A render state is named by its number, written as a JSON key.
// "0x58AE02" and "E8 00 00 00 00": an address in the host's code and the bytes to lay there.
HostBytes hostBytesOf(const json& j, const std::string& path)
{
    onlyFields(j, path, {"addr", "bytes"});
    if (!j.contains("addr") || !j.contains("bytes"))
        bad(path, "needs both \"addr\" (e.g. \"0x58AE02\") and \"bytes\" (e.g. \"90 90 90 90 90\")");
    HostBytes h{hexAddress(j["addr"], path + ".addr"), {}};
    std::istringstream in(text(j["bytes"], path + ".bytes"));
    std::string byte;
    while (in >> byte) {
        if (byte.size() != 2 || !std::isxdigit(static_cast<unsigned char>(byte[0])) ||
            !std::isxdigit(static_cast<unsigned char>(byte[1])))
            bad(path + ".bytes", "must be bytes in hex separated by spaces, such as \"E8 10 20 30 40\"; found \"" + byte + "\"");
        h.bytes.push_back(static_cast<uint8_t>(std::stoul(byte, nullptr, 16)));
    }
    if (h.bytes.empty())
        bad(path + ".bytes", "holds no bytes");
    if (h.address < imageBegin || h.address + h.bytes.size() > codeEnd)
        bad(path + ".addr", "the bytes must lie in the host's code, 0x400000 to 0x857FFF");
    return h;
}

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

// The JSON reader keeps the last of two equal keys in an object, so {"frames": 2,
// "frames": 5} would run 5 frames without a word: a key given twice stops the reading,
// named by its path. One level per open object or list, with the key or index it is at.
class DuplicateKeys {
public:
    bool operator()(int, json::parse_event_t event, json& parsed)
    {
        switch (event) {
        case json::parse_event_t::object_start:
        case json::parse_event_t::array_start:
            levels.push_back({event == json::parse_event_t::array_start, 0, "", {}});
            break;
        case json::parse_event_t::key: {
            Level& level = levels.back();
            level.key = parsed.get<std::string>();
            if (!level.keys.insert(level.key).second)
                bad(path(), "given twice in the same object; give each field once");
            break;
        }
        case json::parse_event_t::object_end:
        case json::parse_event_t::array_end:
            levels.pop_back();
            itemDone();
            break;
        case json::parse_event_t::value:
            itemDone();
            break;
        }
        return true;
    }

private:
    struct Level {
        bool list;
        size_t index;
        std::string key;
        std::set<std::string> keys;
    };
    std::vector<Level> levels;

    void itemDone()
    {
        if (!levels.empty() && levels.back().list)
            ++levels.back().index;
    }

    std::string path() const
    {
        std::string text;
        for (const Level& level : levels)
            text += level.list ? "[" + std::to_string(level.index) + "]"
                               : (text.empty() ? "" : ".") + printable(level.key, 40);
        return text;
    }
};

// Far above any scenario written by hand or by a script, and well below what a 32-bit
// process can hold while the JSON reader builds its tree.
constexpr uintmax_t scenarioLimit = uintmax_t{64} << 20;

std::string sizeText(uintmax_t bytes)
{
    return std::to_string(bytes) + " bytes (" + std::to_string(bytes >> 20) + " MB)";
}

// The file's bytes, or a message saying what lies at the path instead of a scenario.
std::string readScenarioFile(const std::string& path)
{
    const std::string cannot = "cannot read scenario " + path;
    const FileLook look = lookAt(path);
    if (look.kind == FileKind::Directory)
        throw std::runtime_error(cannot + ": it is a directory; give the JSON file");
    if (look.kind == FileKind::Other)
        throw std::runtime_error(cannot + ": not a regular file (a pipe, socket or device); give a JSON file");
    const std::string tooLarge = "more than the " + std::to_string(scenarioLimit >> 20) + " MB a scenario may hold";
    if (look.size > scenarioLimit)
        throw std::runtime_error(cannot + ": " + sizeText(look.size) + ", " + tooLarge);

    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(cannot + ": " +
                                 (errno == ENOENT ? std::string("there is no such file; check the name and folder")
                                                  : std::string(std::strerror(errno))));
    // Read no further than the limit even if the file grows meanwhile.
    std::string source;
    char chunk[65536];
    while (source.size() <= scenarioLimit && in.read(chunk, sizeof chunk).gcount() > 0)
        source.append(chunk, static_cast<size_t>(in.gcount()));
    if (source.size() > scenarioLimit)
        throw std::runtime_error(cannot + ": " + tooLarge);
    const size_t nul = source.find('\0');
    if (nul != std::string::npos)
        throw std::runtime_error(cannot + ": it holds NUL bytes (the first at byte " + std::to_string(nul) +
                                 "), so it is not text; a scenario is a JSON text file");
    return source;
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
        json j = json::parse(source, DuplicateKeys());
        onlyFields(j, "", {"screen", "frames", "clock", "steps", "keys", "map_screen", "modules", "render_states",
                           "texts", "world", "renderer", "host_bytes", "protection_refused", "heap_fails_at"});
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
        eachItem(j, "host_bytes",
                 [&](const json& h, const std::string& path) { s.hostBytes.push_back(hostBytesOf(h, path)); });
        eachItem(j, "protection_refused", [&](const json& a, const std::string& path) {
            s.protectionRefused.push_back(hexAddress(a, path));
        });
        if (j.contains("heap_fails_at"))
            s.heapFailsAt = static_cast<uint32_t>(integer(j["heap_fails_at"], "heap_fails_at", 1, 1000000000));
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
    const std::string source = readScenarioFile(path);
    try {
        return parseScenario(source);
    } catch (const std::runtime_error& e) {
        // The file first, as compilers name it, so the message says where to look.
        throw std::runtime_error(path + ": " + e.what());
    }
}

} // namespace sim
