#pragma once

// Shared by the e2e tests of the radio display and the crosshair: a plug-in folder with
// their layout entries and the shipped textures, and readers of what they drew.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "hud_scene.h"
#include "sim_run.h"

namespace aim_scene {

using nlohmann::json;

// At 1920x1080 one unit is one pixel. The crosshair's numbers are pixels at any size.
inline const char layout[] = R"(
HUD_RADIO_HUD      25  40  64  48
HUD_CROSSHAIR      3   -2  16  12
HUD_CROSSHAIR_FPS  10  20  40  30
)";

inline SimRun run(const TempDir& dir, const std::string& settings, const std::string& scenario,
                  const std::vector<std::string>& extra = {})
{
    hud_scene::writePluginFolder(dir, settings);
    dir.write("kell-hud/data/hud.dat", layout);
    std::vector<std::string> args = {"--scenario", dir.write("scenario.json", scenario)};
    args.insert(args.end(), extra.begin(), extra.end());
    return runSim(dir, args);
}

// The plug-in's calls of one frame, up to the drawing site.
inline std::vector<json> frameCalls(const SimRun& run, int frame)
{
    std::vector<json> found;
    for (const json& e : run.trace) {
        if (e["frame"] != frame)
            continue;
        if (e["op"] == "draw_overlay")
            break;
        if (e["by"] == "plugin")
            found.push_back(e);
    }
    return found;
}

// What the crosshair drew in a frame: the sprites and filled rectangles after its question
// for the player's character (the last of the frame), as [op, args].
inline std::vector<json> crosshairDrawing(const SimRun& run, int frame)
{
    std::vector<json> calls = frameCalls(run, frame);
    size_t from = 0;
    for (size_t i = 0; i < calls.size(); ++i)
        if (calls[i]["op"] == "player_character")
            from = i + 1;
    std::vector<json> drawn;
    for (size_t i = from; i < calls.size(); ++i)
        if (calls[i]["op"] == "sprite_draw" || calls[i]["op"] == "fill_rect")
            drawn.push_back({calls[i]["op"], calls[i]["args"]});
    return drawn;
}

// The radio sprites drawn in a frame, as their args [sprite, rect, colour].
inline std::vector<json> radioStrip(const SimRun& run, int frame)
{
    std::vector<json> strip;
    for (const json& e : frameCalls(run, frame))
        if (e["op"] == "sprite_draw" && e["args"][0].is_string() &&
            e["args"][0].get<std::string>().rfind("radio_", 0) == 0)
            strip.push_back(e["args"]);
    return strip;
}

} // namespace aim_scene
