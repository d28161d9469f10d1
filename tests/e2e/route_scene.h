#pragma once

// Shared by the e2e tests of the route band and the arrival: a player who drives, a map
// target, the host's route, and readers of what the plug-in did in one frame.

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim_run.h"

namespace route_scene {

using nlohmann::json;

// Player 0 at the origin in a vehicle of `type`, seated.
inline json driving(int type = 0)
{
    return {{"position", {0, 0, 0}}, {"vehicle", {{"type", type}}}};
}

// Trace record 5, counter 7: handle 0x00070005.
inline json target(std::array<double, 3> position = {500, 500, 0}, int flags = 1)
{
    return {{"index", 5}, {"counter", 7}, {"flags", flags}, {"position", position}};
}

inline json route(const std::vector<std::array<double, 3>>& nodes)
{
    json list = json::array();
    for (const auto& n : nodes)
        list.push_back(n);
    return {{"nodes", list}};
}

inline json world(const json& player, const json& target, const json& route)
{
    return {{"frame", 1}, {"players", {player}}, {"target", target}, {"route", route}};
}

// The plug-in folder: the layout given, HUD_COLOUR_GPS 10 200 30.
inline SimRun runRoute(const TempDir& dir, const json& worldEntry, const std::string& layout = "", int frames = 1,
                       const std::string& settings = "bEnable = 1\n", const json& more = json::object())
{
    writeSettings(dir, settings);
    dir.write("kell-hud/data/hud.dat", layout);
    dir.write("kell-hud/data/hudColor.dat", "HUD_COLOUR_GPS 10 200 30 40\n");
    json scenario = {{"frames", frames}, {"world", {worldEntry}}};
    scenario.update(more);
    return runSim(dir, {"--scenario", dir.write("scenario.json", scenario.dump())});
}

// The plug-in's calls in one frame, optionally of one operation only.
inline std::vector<json> pluginCalls(const SimRun& run, int frame, const std::string& op = "")
{
    std::vector<json> found;
    for (const json& e : run.trace)
        if (e["frame"] == frame && e["by"] == "plugin" && (op.empty() || e["op"] == op))
            found.push_back(e);
    return found;
}

// The plug-in's calls after the host's radar overlay in one frame, up to the route's last
// (the strip, the device's scissor test or the search): the route band's calls.
inline std::vector<json> routeCalls(const SimRun& run, int frame)
{
    std::vector<json> found;
    size_t end = 0;
    bool afterRadar = false;
    for (const json& e : run.trace) {
        if (e["frame"] != frame)
            continue;
        if (afterRadar && e["by"] == "plugin") {
            found.push_back(e);
            if (e["op"] == "im2d_draw" || e["op"] == "device_set_render_state" || e["op"] == "path_search")
                end = found.size();
        }
        afterRadar = afterRadar || e["op"] == "radar_draw_overlay";
    }
    found.resize(end);
    return found;
}

// The graphics device calls and the strip, in order: device ops with their arguments.
inline std::vector<std::string> deviceOps(const SimRun& run, int frame)
{
    std::vector<std::string> ops;
    for (const json& e : pluginCalls(run, frame)) {
        std::string op = e["op"];
        if (op == "device_set_render_state" || op == "device_set_scissor_rect")
            ops.push_back(op + e["args"].dump());
        else if (op == "device_caps" || op == "im2d_draw")
            ops.push_back(op);
    }
    return ops;
}

struct Point {
    double x, y;
};

struct Box {
    double x, y, w, h;
};

// Where a radar point lands at 1920 x 1080 by the plug-in's placement of the radar (one
// reference unit one pixel).
inline Point screenOf(Point radar, Box map)
{
    return {std::trunc(radar.x * map.w + map.x), 1080 - std::trunc(radar.y * map.h + map.y)};
}

} // namespace route_scene
