#pragma once

// Shared by the e2e tests of the radar frame: a plug-in folder with a radar layout and
// colours whose numbers are easy to tell apart, and readers of what the plug-in did in the
// radar stage of one frame.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "hud_scene.h"
#include "sim_run.h"

namespace radar_scene {

using nlohmann::json;
using hud_scene::sprite;

// At 1920x1080 one unit is one pixel.
inline const char layout[] = R"(
HUD_RADAR_OFFSET_X_Y      0    0
HUD_RADAR_MAP             150  180  100  100
HUD_RADAR_SPRITES         40   250  250  250
HUD_BREATH_BAR            312  80   8    180
HUD_SECOND_RADAR_MAP      1    2    3    4
HUD_SECOND_RADAR_SPRITES  345  220  180  180
HUD_SECOND_BREATH_BAR     537  60   8    140
)";

// The alpha written here is never the one drawn with.
inline const char colours[] = R"(
HUD_COLOUR_RED     201 1   2   9
HUD_COLOUR_BLUE    3   4   202 9
HUD_COLOUR_HEALTH  10  200 11  9
HUD_COLOUR_ARMOUR  12  13  203 9
HUD_COLOUR_BREATH  50  150 250 9
HUD_COLOUR_DAMAGE  255 70  40  9
)";

inline const json white = {255, 255, 255, 255};
inline const json ringBack = {115, 115, 115, 150};
inline const json ringMask = {35, 35, 35, 35};
inline const json health = {10, 200, 11, 255};
inline const json armour = {12, 13, 203, 255};
inline const json damage = {255, 70, 40, 255};
inline const json damageFlash = {255, 70, 40, 100};
inline const json wantedRed = {201, 1, 2, 100};
inline const json wantedBlue = {3, 4, 202, 100};
inline const json breathFill = {50, 150, 250, 255};
inline const json breathBackground = {206, 50, 150, 155};
inline const json leftHalf = {0, 0, 0.5, 0, 0, 1, 0.5, 1};
inline const json rightHalf = {0.5, 0, 1, 0, 0.5, 1, 1, 1};

// The layout above with the radar offset replaced.
inline std::string layoutWithOffset(const std::string& offset)
{
    std::string text = layout;
    const std::string zero = "HUD_RADAR_OFFSET_X_Y      0    0";
    return text.replace(text.find(zero), zero.size(), "HUD_RADAR_OFFSET_X_Y " + offset);
}

inline SimRun run(const TempDir& dir, const std::string& scenario, const std::string& settings = "bEnable = 1\n",
                  const std::string& layoutText = layout)
{
    hud_scene::writePluginFolder(dir, settings);
    dir.write("kell-hud/data/hud.dat", layoutText);
    dir.write("kell-hud/data/hudColor.dat", colours);
    return runSim(dir, {"--scenario", dir.write("scenario.json", scenario)});
}

// The plug-in's calls of the radar stage: from its first look at render state 12 (with the
// player look-up just before it) up to the host's radar overlay call.
inline std::vector<json> calls(const SimRun& r, int frame, const std::string& op = "")
{
    std::vector<json> inFrame;
    for (const json& e : r.trace)
        if (e["frame"] == frame)
            inFrame.push_back(e);
    std::vector<json> found;
    bool begun = false;
    for (size_t i = 0; i < inFrame.size(); ++i) {
        const json& e = inFrame[i];
        if (e["op"] == "radar_draw_overlay")
            break;
        if (!begun && i + 1 < inFrame.size() && inFrame[i + 1]["op"] == "render_state_get" &&
            inFrame[i + 1]["by"] == "plugin")
            begun = true;
        if (begun && e["by"] == "plugin" && (op.empty() || e["op"] == op))
            found.push_back(e);
    }
    return found;
}

inline std::vector<json> argsOf(const SimRun& r, int frame, const std::string& op)
{
    std::vector<json> args;
    for (const json& e : calls(r, frame, op))
        args.push_back(e["args"]);
    return args;
}

// A call in short: the operation, with the render state and value, or the sprite drawn.
inline std::vector<std::string> summary(const SimRun& r, int frame)
{
    std::vector<std::string> out;
    for (const json& e : calls(r, frame)) {
        std::string op = e["op"];
        if (op == "render_state_set" || op == "render_state_get")
            op += " " + e["args"].dump();
        else if (op.rfind("sprite_draw", 0) == 0)
            op += " " + e["args"][0].dump();
        out.push_back(op);
    }
    return out;
}

// Texture coordinates of a sprite_draw_uv call.
inline json uvOf(const json& args)
{
    json uv = json::array();
    for (size_t i = 3; i < args.size(); ++i)
        uv.push_back(args[i]);
    return uv;
}

} // namespace radar_scene
