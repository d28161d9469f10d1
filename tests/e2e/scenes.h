#pragma once

// The scenes of the e2e tests, one namespace each: a plug-in folder whose layout and colours
// are easy to tell apart (numbers a test can trace back to their line), how a scene runs,
// and the stretch of a frame's trace that belongs to the part of the HUD under test.

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "scene.h"
#include "sim_run.h"
#include "trace_query.h"

using trace_query::argsOf;
using trace_query::countOf;
using trace_query::opsOf;

// The HUD's top-right column.
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

inline Scene scene(const std::string& settings = "bEnable = 1\n")
{
    return {.settings = settings, .layout = layout, .colours = colours, .shippedTextures = true};
}

inline void writePluginFolder(const TempDir& dir, const std::string& settings) { writeScene(dir, scene(settings)); }

inline SimRun run(const TempDir& dir, const std::string& scenario, const std::string& settings = "bEnable = 1\n",
                  const std::vector<std::string>& extra = {})
{
    Scene s = scene(settings);
    s.scenario = scenario;
    s.args = extra;
    return runScene(dir, s);
}

// The plug-in's calls in the HUD stage of one frame: after the radar stage's overlay call
// and the route band's question whether the player drives (on foot, all it asks), before
// the crosshair's question for the player's character (or the drawing site, where the
// watermark follows); optionally of one operation only.
inline std::vector<json> calls(const SimRun& run, int frame, const std::string& op = "")
{
    using namespace trace_query;
    const std::vector<json> afterRadar =
        between(until(frameOf(run, frame), trace_query::op("draw_overlay")), trace_query::op("radar_draw_overlay"),
                [](const json&) { return false; });
    return byPlugin(between(afterRadar, trace_query::op("player_character"), trace_query::op("player_character")), op);
}

// The texts printed with text_print_b in a frame, with their places.
inline std::vector<json> printsB(const SimRun& run, int frame) { return argsOf(calls(run, frame), "text_print_b"); }

// The sprite name where textures are built; otherwise the unbound handle's null.
inline json sprite(const std::string& name) { return texturesBuilt() ? json(name) : json(nullptr); }

} // namespace hud_scene

// The radar frame.
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
    return runScene(dir, {.settings = settings, .layout = layoutText, .colours = colours, .shippedTextures = true,
                          .scenario = scenario});
}

// The plug-in's calls of the radar stage: from its first look at render state 12 (with the
// player look-up just before it) up to the host's radar overlay call.
inline std::vector<json> calls(const SimRun& r, int frame, const std::string& op = "")
{
    using namespace trace_query;
    const std::vector<json> entries = until(frameOf(r, frame), trace_query::op("radar_draw_overlay"));
    std::vector<json> stage;
    for (size_t i = 0; i + 1 < entries.size() && stage.empty(); ++i)
        if (pluginOp("render_state_get")(entries[i + 1]))
            stage.assign(entries.begin() + static_cast<long>(i), entries.end());
    return byPlugin(stage, op);
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

// The crosshairs and the radio strip.
namespace aim_scene {

using nlohmann::json;

// At 1920x1080 one unit is one pixel. The crosshair's numbers are pixels at any size.
inline const char layout[] = R"(
HUD_RADIO_HUD      25  40  64  48
HUD_CROSSHAIR      3   -2  16  12
HUD_CROSSHAIR_FPS  10  20  40  30
)";

inline SimRun run(const TempDir& dir, const std::string& scenario, const std::string& settings,
                  const std::vector<std::string>& extra = {})
{
    return runScene(dir, {.settings = settings, .layout = layout, .colours = hud_scene::colours,
                          .shippedTextures = true, .scenario = scenario, .args = extra});
}

// The plug-in's calls of one frame, up to the drawing site.
inline std::vector<json> frameCalls(const SimRun& run, int frame)
{
    return trace_query::byPlugin(trace_query::until(trace_query::frameOf(run, frame), trace_query::op("draw_overlay")));
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
    for (const json& args : argsOf(frameCalls(run, frame), "sprite_draw"))
        if (args[0].is_string() && args[0].get<std::string>().rfind("radio_", 0) == 0)
            strip.push_back(args);
    return strip;
}

} // namespace aim_scene

// The help box, the text boxes, the subtitles and the mission text.
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
    return runScene(dir, {.settings = settings, .layout = layout, .colours = colours, .scenario = scenario});
}

inline std::vector<json> inFrame(const SimRun& r, int frame) { return trace_query::frameOf(r, frame); }

// What the host's help box left in a frame: [state, elapsed, fade, lines, shown text,
// last text, bytes behind the strings intact]; null when the host ran no help box.
inline json helpState(const SimRun& r, int frame)
{
    const std::vector<json> states = argsOf(inFrame(r, frame), "help_box_state");
    return states.empty() ? json(nullptr) : states.front();
}

// The plug-in's calls of the help box in a frame: from its compare of the host's texts to
// the host's report after the call (none when the host's text is empty).
inline std::vector<json> helpCalls(const SimRun& r, int frame)
{
    using namespace trace_query;
    return byPlugin(between(until(inFrame(r, frame), op("help_box_state")), pluginOp("text_equal"),
                            [](const json&) { return false; }, true));
}

} // namespace help_scene

// The route band and the arrival: a player who drives, a map target, the host's route.
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
    json scenario = {{"frames", frames}, {"world", {worldEntry}}};
    scenario.update(more);
    return runScene(dir, {.settings = settings, .layout = layout, .colours = "HUD_COLOUR_GPS 10 200 30 40\n",
                          .scenario = scenario.dump()});
}

// The plug-in's calls in one frame, optionally of one operation only.
inline std::vector<json> pluginCalls(const SimRun& run, int frame, const std::string& op = "")
{
    return trace_query::byPlugin(trace_query::frameOf(run, frame), op);
}

// The plug-in's calls after the host's radar overlay in one frame, up to the route's last
// (the strip, the device's scissor test or the search): the route band's calls.
inline std::vector<json> routeCalls(const SimRun& run, int frame)
{
    using namespace trace_query;
    std::vector<json> found = byPlugin(
        between(frameOf(run, frame), op("radar_draw_overlay"), [](const json&) { return false; }));
    size_t end = 0;
    for (size_t i = 0; i < found.size(); ++i)
        if (found[i]["op"] == "im2d_draw" || found[i]["op"] == "device_set_render_state" || found[i]["op"] == "path_search")
            end = i + 1;
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
