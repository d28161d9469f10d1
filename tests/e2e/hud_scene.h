#pragma once

// Shared by the e2e tests of the HUD's top-right column: a plug-in folder with a layout
// and colours whose numbers are easy to tell apart, the shipped textures, and readers of
// what the plug-in did in one frame.

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim_run.h"

namespace hud_scene {

using nlohmann::json;

// At 1920x1080 one unit is one pixel. The player information block is moved 61 units
// right and 5 down, so every place below shows whether the offset was added.
inline const char layout[] = R"(
HUD_PLAYER_INFO_OFFSET_X_Y  -61  5
HUD_WEAPON_ICON             165  62   64   64
HUD_AMMO                    101  58   0.7  1.4
HUD_CASH                    101  56   0.75 1.5
HUD_ZONE_NAME               40   84   0.9  1.8
HUD_VEHICLE_NAME            40   130  0.75 1.5
HUD_STATS_BOX               40   320  280  325
HUD_SECOND_WEAPON_ICON      165  240  48   40
HUD_SECOND_AMMO             101  236  0.3  0.6
)";

// Each colour its own numbers; the alpha written here is never the one drawn with.
inline const char colours[] = R"(
HUD_COLOUR_BLACK        10 11 12 50
HUD_COLOUR_ZONE         20 21 22 60
HUD_COLOUR_VEHICLE_NAME 30 31 32 70
HUD_COLOUR_WANTED_STAR  40 41 42 80
HUD_COLOUR_AMMO_CLIP    50 51 52 90
HUD_COLOUR_AMMO_TOTAL   60 61 62 100
HUD_COLOUR_CASH         70 71 72 110
)";

inline const json black = {10, 11, 12, 255};
inline const json starLit = {40, 41, 42, 255};
inline const json starDark = {0, 0, 0, 100};
inline const json clipColour = {50, 51, 52, 255};
inline const json totalColour = {60, 61, 62, 255};
inline const json cashColour = {70, 71, 72, 255};

inline const std::string shippedTextures = std::string(KELLHUD_ASSETS_DIR) + "/kell-hud/textures";

// Sprites carry texture names only where the shipped dictionaries have been built.
inline bool texturesBuilt() { return std::filesystem::exists(shippedTextures + "/weapons.txd"); }

inline void writePluginFolder(const TempDir& dir, const std::string& settings)
{
    writeSettings(dir, settings);
    dir.write("kell-hud/data/hud.dat", layout);
    dir.write("kell-hud/data/hudColor.dat", colours);
    if (texturesBuilt())
        std::filesystem::create_directory_symlink(shippedTextures, dir.path() + "/kell-hud/textures");
}

inline SimRun run(const TempDir& dir, const std::string& scenario, const std::string& settings = "bEnable = 1\n",
                  const std::vector<std::string>& extra = {})
{
    writePluginFolder(dir, settings);
    std::vector<std::string> args = {"--scenario", dir.write("scenario.json", scenario)};
    args.insert(args.end(), extra.begin(), extra.end());
    return runSim(dir, args);
}

// The plug-in's calls in the HUD stage of one frame: after the radar stage's overlay call
// and the route band's question whether the player drives (on foot, all it asks), before
// the crosshair's question for the player's character (or the drawing site, where the
// watermark follows); optionally of one operation only.
inline std::vector<json> calls(const SimRun& run, int frame, const std::string& op = "")
{
    std::vector<json> found;
    bool radarOverlay = false, hudStage = false;
    for (const json& e : run.trace) {
        if (e["frame"] != frame)
            continue;
        if (e["op"] == "draw_overlay")
            break;
        // The crosshair, reached after the HUD stage, begins with the same question.
        if (hudStage && e["op"] == "player_character")
            break;
        if (hudStage && e["by"] == "plugin" && (op.empty() || e["op"] == op))
            found.push_back(e);
        if (radarOverlay && !hudStage && e["op"] == "player_character")
            hudStage = true;
        radarOverlay = radarOverlay || e["op"] == "radar_draw_overlay";
    }
    return found;
}

inline std::vector<json> argsOf(const SimRun& run, int frame, const std::string& op)
{
    std::vector<json> args;
    for (const json& e : calls(run, frame, op))
        args.push_back(e["args"]);
    return args;
}

inline std::vector<std::string> opsOf(const std::vector<json>& entries)
{
    std::vector<std::string> ops;
    for (const json& e : entries)
        ops.push_back(e["op"]);
    return ops;
}

// The texts printed with text_print_b in a frame, with their places.
inline std::vector<json> printsB(const SimRun& run, int frame) { return argsOf(run, frame, "text_print_b"); }

// The sprite name where textures are built; otherwise the unbound handle's null.
inline json sprite(const std::string& name) { return texturesBuilt() ? json(name) : json(nullptr); }

} // namespace hud_scene
