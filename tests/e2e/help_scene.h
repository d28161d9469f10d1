#pragma once

// Shared by the e2e tests of the help box, the text boxes, the subtitles and the mission
// text: a plug-in folder whose layout and colours are easy to tell apart, and readers of
// what the host's help box left and what the plug-in did in one frame.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim_run.h"

namespace help_scene {

using nlohmann::json;

// At 1920x1080 one unit is one pixel; scales are exact in binary.
inline const char layout[] = R"(
HUD_HELP_MESSAGE   40  30  0.5  1.0
HUD_SUBTITLES      10  60  0.75 1.5
HUD_RADAR_SPRITES  200 50  30   40
HUD_MISSION_TEXT   100 200 0.5  1.25
)";

inline const char colours[] = R"(
HUD_COLOUR_PURE_WHITE 250 251 252 10
HUD_COLOUR_BLACK      1   2   3   20
HUD_COLOUR_MISSION    90  91  92  30
)";

inline const json white = {250, 251, 252, 255};
inline const json black = {1, 2, 3, 255};

inline SimRun run(const TempDir& dir, const std::string& scenario, const std::string& settings = "bEnable = 1\n")
{
    writeSettings(dir, settings);
    dir.write("kell-hud/data/hud.dat", layout);
    dir.write("kell-hud/data/hudColor.dat", colours);
    return runSim(dir, {"--scenario", dir.write("scenario.json", scenario)});
}

inline std::vector<json> inFrame(const SimRun& r, int frame)
{
    std::vector<json> found;
    for (const json& e : r.trace)
        if (e["frame"] == frame)
            found.push_back(e);
    return found;
}

// What the host's help box left in a frame: [state, elapsed, fade, lines, shown text,
// last text, bytes behind the strings intact]; null when the host ran no help box.
inline json helpState(const SimRun& r, int frame)
{
    for (const json& e : inFrame(r, frame))
        if (e["op"] == "help_box_state")
            return e["args"];
    return nullptr;
}

// The plug-in's calls of the help box in a frame: from its compare of the host's texts to
// the host's report after the call (none when the host's text is empty).
inline std::vector<json> helpCalls(const SimRun& r, int frame)
{
    std::vector<json> found;
    bool in = false;
    for (const json& e : inFrame(r, frame)) {
        if (e["op"] == "help_box_state")
            break;
        in = in || (e["op"] == "text_equal" && e["by"] == "plugin");
        if (in && e["by"] == "plugin")
            found.push_back(e);
    }
    return found;
}

inline std::vector<std::string> opsOf(const std::vector<json>& entries)
{
    std::vector<std::string> ops;
    for (const json& e : entries)
        ops.push_back(e["op"]);
    return ops;
}

inline std::vector<json> argsOf(const std::vector<json>& entries, const std::string& op)
{
    std::vector<json> found;
    for (const json& e : entries)
        if (e["op"] == op)
            found.push_back(e["args"]);
    return found;
}

inline int countOf(const SimRun& r, const std::string& op, const std::string& by = "plugin")
{
    int n = 0;
    for (const json& e : r.trace)
        n += e["op"] == op && e["by"] == by;
    return n;
}

} // namespace help_scene
