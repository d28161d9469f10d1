// The radar from inside the host's map and blip drawing: where radar points land, the zoom
// and its creep back, the blip and marker boxes, the sized marker's sizes and the map blend
// that resumes the host's own code.

#include <gtest/gtest.h>

#include <string>

#include "scenes.h"

namespace {

using nlohmann::json;
using hud_scene::sprite;

const char radarLayout[] = "HUD_RADAR_OFFSET_X_Y 0 0\nHUD_RADAR_MAP 150 180 110 110\n";

SimRun radarRun(const TempDir& dir, const std::string& scenario, const std::string& settings = "bEnable = 1\n",
                const std::string& layout = radarLayout, const std::vector<std::string>& extra = {})
{
    return runScene(dir, {.settings = settings, .layout = layout, .shippedTextures = true, .scenario = scenario, .args = extra});
}

std::vector<json> inFrame(const SimRun& run, int frame, const std::string& op)
{
    std::vector<json> found;
    for (const json& e : run.calls(op))
        if (e["frame"] == frame)
            found.push_back(e);
    return found;
}

// Calls of one operation made while the host's blip layer runs in that frame (the radar's
// own frame draws sprites and sets states around it).
std::vector<json> inBlipLayer(const SimRun& run, int frame, const std::string& op)
{
    std::vector<json> found;
    bool inLayer = false;
    for (const json& e : run.trace) {
        if (e["frame"] != frame)
            continue;
        if (e["op"] == "radar_draw_blips" || e["op"] == "player_vehicle")
            inLayer = e["op"] == "radar_draw_blips";
        else if (inLayer && e["op"] == op)
            found.push_back(e);
    }
    return found;
}

// What the host's blip layer got back for each point: [in x, in y, out x, out y, range].
std::vector<json> points(const SimRun& run, int frame)
{
    std::vector<json> found;
    for (const json& e : inFrame(run, frame, "radar_blip_point"))
        found.push_back(e["args"]);
    return found;
}

json point(const json& p) { return {p[2], p[3]}; }

// A world entry with one blip per point, drawn or not by the host's sprite check.
std::string blipsAt(const std::vector<std::pair<double, double>>& at, bool check = false)
{
    json list = json::array();
    for (auto [x, y] : at)
        list.push_back({{"id", 3}, {"at", {x, y}}, {"check", check}});
    return list.dump();
}

std::string manyBlips(int count)
{
    std::vector<std::pair<double, double>> at(static_cast<size_t>(count), {0.0, 0.0});
    return blipsAt(at);
}

TEST(RadarTransform, PlacesPointsByTheRadarMapAndOffsetAt1080Lines)
{
    const std::string corners = blipsAt({{0, 0}, {1, 1}, {-1, -1}});
    TempDir a, b;
    SimRun plain = radarRun(a, R"({"world": [{"frame": 1, "blips": )" + corners + "}]}");
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    auto p = points(plain, 1);
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(point(p[0]), json({150, 900}));
    EXPECT_EQ(point(p[1]), json({260, 790}));
    EXPECT_EQ(point(p[2]), json({40, 1010}));

    // The offset moves the radar right and up.
    SimRun moved = radarRun(b, R"({"world": [{"frame": 1, "blips": )" + corners + "}]}", "bEnable = 1\n",
                            "HUD_RADAR_OFFSET_X_Y 10 -20\nHUD_RADAR_MAP 150 180 110 110\n");
    ASSERT_EQ(moved.exitCode, 0) << moved.err;
    EXPECT_EQ(point(points(moved, 1)[0]), json({160, 920}));
    EXPECT_EQ(point(points(moved, 1)[1]), json({270, 810}));

    // A radar wider than high: x follows the first radius, y the second.
    TempDir c;
    SimRun wide = radarRun(c, R"({"world": [{"frame": 1, "blips": )" + corners + "}]}", "bEnable = 1\n",
                           "HUD_RADAR_OFFSET_X_Y 0 0\nHUD_RADAR_MAP 150 180 110 60\n");
    ASSERT_EQ(wide.exitCode, 0) << wide.err;
    EXPECT_EQ(point(points(wide, 1)[1]), json({260, 840}));
    EXPECT_EQ(point(points(wide, 1)[2]), json({40, 960}));
}

TEST(RadarTransform, At720LinesEachCoordinateIsTruncatedOnceAfterTheSum)
{
    TempDir a, b;
    SimRun plain = radarRun(a, R"({"world": [{"frame": 1, "blips": )" + blipsAt({{0, 0}}) + "}]}", "bEnable = 1\n",
                            radarLayout, {"--size", "1280x720"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(point(points(plain, 1)[0]), json({100, 600}));

    // 0.5 * 110 + 151 = 206 units = 137.33 px (not 36 + 100); 720 - px(236) = 563.
    SimRun offset = radarRun(b, R"({"world": [{"frame": 1, "blips": )" + blipsAt({{0.5, 0.5}}) + "}]}",
                             "bEnable = 1\n", "HUD_RADAR_OFFSET_X_Y 1 1\nHUD_RADAR_MAP 150 180 110 110\n",
                             {"--size", "1280x720"});
    ASSERT_EQ(offset.exitCode, 0) << offset.err;
    EXPECT_EQ(point(points(offset, 1)[0]), json({137, 563}));
}

TEST(RadarTransform, MapScreenUsesItsScaleAndOriginAndLeavesTheRangeAlone)
{
    // The map shows in frames 1 and 3; in frame 3 its flag byte is 0x80, not 1.
    TempDir dir;
    SimRun run = radarRun(dir, R"({"frames": 3, "map_screen": [{"from": 1, "to": 1}, {"from": 3}],
        "keys": [{"key": 84, "from": 1, "to": 2}],
        "world": [{"frame": 1, "map_view": {"scale": 2, "origin": [320, 224]}, "blips": )" +
                                   blipsAt({{1, 1}, {-0.5, 0.25}}) + R"(}, {"frame": 3, "map_flag": 128}]})");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (int frame : {1, 3}) {
        SCOPED_TRACE(frame);
        // The radar frame's blip layer, then the map screen's own.
        auto p = points(run, frame);
        ASSERT_EQ(p.size(), 4u);
        EXPECT_EQ(point(p[0]), json({322, 222}));
        EXPECT_EQ(point(p[1]), json({319, 223.5}));
        EXPECT_EQ(p[2], p[0]);
        EXPECT_EQ(p[3], p[1]);
    }
    // "T" is held, but on the map screen the range is neither zoomed nor written.
    EXPECT_EQ(points(run, 1)[0][4], 0);
    // The texture state is set on every conversion, on the map screen too.
    size_t textureStates = 0;
    for (const json& e : inBlipLayer(run, 1, "render_state_set"))
        textureStates += e["args"] == json({5, 1});
    EXPECT_EQ(textureStates, 4u);
    // In frame 2 the map is gone: the radar's own place, and the zoom.
    ASSERT_EQ(points(run, 2).size(), 2u);
    EXPECT_EQ(point(points(run, 2)[0]), json({260, 790}));
    EXPECT_EQ(points(run, 2)[0][4], 300);
}

// The range the host sees after each point; the first point ever converted without the
// zoom starts the range at 100.
TEST(RadarZoom, KeyZoomsAtTheFirstPointAndEachLaterPointCreepsBack)
{
    TempDir dir;
    const std::string three = blipsAt({{0, 0}, {0, 0}, {0, 0}});
    SimRun run = radarRun(dir, R"({"frames": 3, "keys": [{"key": 84, "from": 2}],
        "world": [{"frame": 1, "blips": )" + three + "}]}");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const json& p : points(run, 1))
        EXPECT_EQ(p[4], 100);
    for (const json& p : points(run, 2))
        EXPECT_EQ(p[4], 300);
    float range = 300.0f;
    for (const json& p : points(run, 3)) {
        range -= 0.03f;
        EXPECT_EQ(p[4].get<double>(), static_cast<double>(range));
    }
    // The host reads the range from its own datum: every point also went through pad 0.
    for (const json& e : inFrame(run, 3, "pad_get"))
        EXPECT_EQ(e["args"], json({0}));
}

// The range after one point per frame. The radio display shows its strip from frame 1's
// HUD stage on, after that frame's radar: from frame 2 the pad's control is the radio's,
// and the range is back at 100 at once after a zoom; the "T" key still zooms.
TEST(RadarZoom, PadControlZoomsLikeTheKeyUnlessTheRadioShows)
{
    struct Case {
        bool radio;
        std::vector<double> ranges;
    };
    const Case cases[] = {{false, {300, 300, 300, 300.0f - 0.03f}}, {true, {300, 100, 300, 100}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radio ? "radio shows" : "no radio");
        const std::string radio = c.radio ? R"(, "radio": {"station": 1, "change": true})" : "";
        TempDir dir;
        SimRun run = radarRun(dir, R"({"frames": 4, "clock": {"start_ms": 10000, "step_ms": 100},
            "keys": [{"key": 84, "from": 3, "to": 3}], "world": [
            {"frame": 1, "players": [{"vehicle": {}}], "pad": {"cash": -2}, "blips": )" +
                                       blipsAt({{0, 0}}) + radio + R"(},
            {"frame": 3, "pad": {"cash": 0}}]})",
                              "bEnable = 1\nbRadioHud = 1\n");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        for (int frame = 1; frame <= 4; ++frame)
            EXPECT_EQ(points(run, frame)[0][4].get<double>(), static_cast<double>(static_cast<float>(
                                                                   c.ranges[static_cast<size_t>(frame - 1)])))
                << frame;
    }
}

TEST(RadarZoom, CreepClampsToExactly100AndStaysThere)
{
    TempDir dir;
    const int count = 6700; // 200 / 0.03 is about 6667 steps
    SimRun run = radarRun(dir, R"({"frames": 2, "keys": [{"key": 84, "from": 1, "to": 1}],
        "world": [{"frame": 1, "blips": )" + manyBlips(1) + R"(}, {"frame": 2, "blips": )" + manyBlips(count) + "}]}");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto p = points(run, 2);
    ASSERT_EQ(p.size(), static_cast<size_t>(count));
    float range = 300.0f;
    int reached = -1;
    for (int i = 0; i < count; ++i) {
        if (range != 100.0f)
            range -= 0.03f;
        if (range <= 100.0f)
            range = 100.0f;
        if (range == 100.0f && reached < 0)
            reached = i;
        ASSERT_EQ(p[static_cast<size_t>(i)][4].get<double>(), static_cast<double>(range)) << i;
    }
    EXPECT_GT(reached, 6000);
    EXPECT_LT(reached, count - 1);
    EXPECT_EQ(p.back()[4], 100);
}

TEST(RadarTransform, WhileTheDisplayIsOffTheHostsBlipLayerIsNotReached)
{
    TempDir dir;
    SimRun run = radarRun(dir, R"({"frames": 2, "clock": {"start_ms": 10000},
        "keys": [{"key": 84, "from": 2, "to": 2}, {"key": 122, "from": 2, "to": 2}],
        "world": [{"frame": 1, "blips": )" + blipsAt({{0.5, 0.5}}) + "}]}",
                          "bEnable = 1\nbEnableHotKey = 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(points(run, 1)[0][4], 100);
    // The toggle runs at the frame processing, before the radar of frame 2, whose frame
    // then returns before the host's layers.
    EXPECT_TRUE(points(run, 2).empty());
    EXPECT_TRUE(inFrame(run, 2, "radar_draw_blips").empty());
}

// At 1920x1080 a radar centred at (500, 400): blips 26 units square, level markers 18.
const char boxLayout[] = "HUD_RADAR_OFFSET_X_Y 0 0\nHUD_RADAR_MAP 500 680 110 110\n";

std::vector<json> spriteDraws(const SimRun& run, int frame)
{
    std::vector<json> found;
    for (const json& e : inBlipLayer(run, frame, "sprite_draw"))
        if (e["by"] == "plugin")
            found.push_back(e["args"]);
    return found;
}

TEST(RadarBlips, BlipAndLevelMarkerBoxesAroundThePoint)
{
    TempDir dir;
    SimRun run = radarRun(dir, R"({"world": [{"frame": 1, "blips": [
        {"id": 3, "at": [0, 0], "alpha": 140, "level": {"kind": 0, "colour": [10, 20, 30, 40]}},
        {"id": 9, "at": [0, 0], "level": {"kind": 1}},
        {"id": 3, "at": [0, 0], "alpha": 7, "level": {"kind": 2, "colour": [1, 2, 3, 4]}},
        {"id": 3, "at": [0, 0], "level": {"kind": 3}}]}]})",
                          "bEnable = 1\n", boxLayout);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json blipBox = {487, 387, 513, 413}, markerBox = {491, 391, 509, 409};
    auto draws = spriteDraws(run, 1);
    ASSERT_EQ(draws.size(), 7u); // the last blip's kind 3 draws no marker
    EXPECT_EQ(draws[0], json({sprite("radar_target"), blipBox, {255, 255, 255, 140}}));
    EXPECT_EQ(draws[1], json({sprite("radar_higher"), markerBox, {10, 20, 30, 40}}));
    EXPECT_EQ(draws[2], json({sprite("radar_garage"), blipBox, {255, 255, 255, 255}}));
    EXPECT_EQ(draws[3], json({sprite("radar_lower"), markerBox, {255, 255, 255, 255}}));
    EXPECT_EQ(draws[4], json({sprite("radar_target"), blipBox, {255, 255, 255, 7}}));
    EXPECT_EQ(draws[5], json({sprite("radar_level"), markerBox, {1, 2, 3, 4}}));
    EXPECT_EQ(draws[6], json({sprite("radar_target"), blipBox, {255, 255, 255, 255}}));
    // The host's check and count see the blip's id, not the word it arrived in.
    auto checks = inFrame(run, 1, "radar_sprite_check");
    ASSERT_EQ(checks.size(), 4u);
    EXPECT_EQ(checks[1]["args"], json({9, -99}));
    auto drawn = inFrame(run, 1, "radar_sprite_drawn");
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[1]["args"], json({0, 9}));
    // Each blip: the host's check, the sprite, then the host's count of it.
    std::vector<std::string> first;
    for (const json& e : run.trace)
        if (e["frame"] == 1 && e["by"] == "plugin" && first.size() < 5 &&
            (e["op"] == "radar_sprite_check" || !first.empty()))
            first.push_back(e["op"]);
    EXPECT_EQ(first, (std::vector<std::string>{"radar_sprite_check", "make_colour", "make_rect", "sprite_draw",
                                               "radar_sprite_drawn"}));
    // The host's own blip and marker routines no longer run.
    EXPECT_TRUE(run.calls("radar_draw_blip_sprite").empty());
    EXPECT_TRUE(run.calls("radar_draw_level_marker").empty());
    EXPECT_TRUE(run.calls("radar_to_screen").empty());
}

TEST(RadarBlips, HostsCheckDecidesAndAnUnboundSlotDrawsEmpty)
{
    TempDir dir;
    SimRun run = radarRun(dir, R"({"world": [{"frame": 1, "blips": [
        {"id": 3, "at": [0, 0], "check": false},
        {"id": 200, "at": [0, 0]},
        {"id": 200, "at": [0, 0], "check": true}]}]})",
                          "bEnable = 1\n", boxLayout);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto checks = inFrame(run, 1, "radar_sprite_check");
    ASSERT_EQ(checks.size(), 3u);
    EXPECT_EQ(checks[1]["result"], false); // the host refuses an id whose slot is empty
    auto draws = spriteDraws(run, 1);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0][0], nullptr);
    ASSERT_EQ(inFrame(run, 1, "radar_sprite_drawn").size(), 1u);
    EXPECT_EQ(inFrame(run, 1, "radar_sprite_drawn")[0]["args"], json({0, 200}));
}

// A point that is not a number gets no box; the host's check and count still see the blip.
TEST(RadarBlips, BlipsPlacedNowhereAreNotDrawn)
{
    TempDir dir;
    SimRun run = radarRun(dir, R"({"world": [{"frame": 1, "blips": [
        {"id": 3, "at": ["nan", 0], "check": true, "level": {"kind": 0}},
        {"id": 3, "at": [0, "inf"], "check": true, "level": {"kind": 2}},
        {"id": 3, "at": ["-inf", "nan"], "check": true}]}]})",
                          "bEnable = 1\n", boxLayout);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(spriteDraws(run, 1).empty());
    EXPECT_TRUE(inBlipLayer(run, 1, "make_rect").empty());
    EXPECT_EQ(inFrame(run, 1, "radar_sprite_check").size(), 3u);
    EXPECT_EQ(inFrame(run, 1, "radar_sprite_drawn").size(), 3u);
}

TEST(RadarBlips, OnTheMapScreenBlipsAndMarkersAreScaledAndAdjustedByTheHost)
{
    TempDir dir;
    SimRun run = radarRun(dir, R"({"map_screen": [{"from": 1}], "world": [{"frame": 1,
        "map_view": {"scale": 1, "origin": [320, 224]},
        "blips": [{"id": 3, "at": [0, 0], "level": {"kind": 3}}, {"id": 3, "at": [0, 0], "check": false,
                   "level": {"kind": 2}}]}]})");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // The 640 x 448 frame scaled to 1920 x 1080 in double precision, then the host's
    // adjustment (10 right, 5 down).
    const double x = 960, y = static_cast<float>(1080 * 0.002232143 * 224.0);
    // The radar frame's blip layer and the map screen's own each draw both blips.
    auto adjusts = inFrame(run, 1, "map_screen_adjust");
    ASSERT_EQ(adjusts.size(), 8u); // both routines scale, even when nothing is drawn after
    for (const json& a : adjusts) {
        EXPECT_EQ(a["args"][0], x);
        EXPECT_EQ(a["args"][1].get<double>(), y);
        EXPECT_EQ(a["by"], "plugin");
    }
    auto draws = spriteDraws(run, 1);
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_EQ(draws[2], draws[0]);
    EXPECT_EQ(draws[3], draws[1]);
    const float ay = static_cast<float>(y) + 5.0f;
    EXPECT_EQ(draws[0][1], json({957, static_cast<double>(ay - 13.0f), 983, static_cast<double>(13.0f + ay)}));
    EXPECT_EQ(draws[1][1], json({961, static_cast<double>(ay - 9.0f), 979, static_cast<double>(9.0f + ay)}));
}

TEST(RadarBlips, SizedMarkerGetsThisStylesTwoSizes)
{
    const std::string scenario = R"({"world": [{"frame": 1, "blips": [
        {"id": 3, "at": [0, 0], "check": false, "sized": [7, 1.5, -2.5, 3.5, 40, 50, 4294967295]}]}]})";
    const std::pair<const char*, json> sizes[] = {{"1920x1080", {13, 12}}, {"1280x720", {9, 8}}};
    for (const auto& [size, expected] : sizes) {
        SCOPED_TRACE(size);
        TempDir dir;
        SimRun run = radarRun(dir, scenario, "bEnable = 1\n", radarLayout, {"--size", size});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        auto calls = run.calls("radar_draw_sized_marker");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0]["by"], "plugin");
        EXPECT_EQ(calls[0]["args"], json({7, 1.5, -2.5, 3.5, expected[0], expected[1], 4294967295u}));
    }
}

// What the host's map drawing found when it carried on after the blend jump:
// [AL, whether the test found zero, whether registers and stack were as it left them].
TEST(MapBlend, HostResumesWithItsByteFlagsRegistersAndStack)
{
    for (int byte : {0, 1, 0x37, 0x80, 0xFF}) {
        SCOPED_TRACE(byte);
        TempDir dir;
        SimRun run = radarRun(dir, R"({"frames": 2, "world": [{"frame": 1, "map_blend_byte": )" +
                                       std::to_string(byte) + R"(}, {"frame": 2, "map_blend_byte": 0}]})");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        auto resumed = run.calls("map_blend_resume");
        ASSERT_EQ(resumed.size(), 2u);
        EXPECT_EQ(resumed[0]["args"], json({byte, byte == 0, true}));
        EXPECT_EQ(resumed[1]["args"], json({0, true, true}));
        EXPECT_EQ(run.err.find("changed"), std::string::npos) << run.err;
    }
}

TEST(MapBlend, SetsTheBlendStatesBeforeTheHostCarriesOn)
{
    for (bool blending : {false, true}) {
        SCOPED_TRACE(blending);
        TempDir dir;
        SimRun run = radarRun(dir, R"({"world": [{"frame": 1, "map_blend_byte": 9}]})",
                              blending ? "bEnable = 1\nbEnableBlendingMode = 1\n" : "bEnable = 1\n");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        std::vector<json> between;
        bool inMap = false;
        for (const json& e : run.trace) {
            if (e["op"] == "map_blend_resume")
                break;
            if (inMap)
                between.push_back({e["op"], e["args"], e["by"]});
            inMap = inMap || e["op"] == "radar_draw_map";
        }
        std::vector<json> expected;
        if (blending)
            expected.push_back({"render_state_set", {10, 2}, "plugin"});
        expected.push_back({"render_state_set", {12, 1}, "plugin"});
        EXPECT_EQ(between, expected);
    }
}

TEST(MapBlend, WithoutThePluginTheHostsOwnInstructionsRun)
{
    TempDir dir;
    SimRun run = radarRun(dir, R"({"world": [{"frame": 1, "map_blend_byte": 5, "blips": [
        {"id": 3, "at": [1, 1], "level": {"kind": 0}, "sized": [1, 2, 3, 4, 5, 6, 7]}]}]})",
                          "bEnable = 0\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.calls("map_blend_resume").size(), 1u);
    EXPECT_EQ(run.calls("map_blend_resume")[0]["args"], json({5, false, true}));
    EXPECT_TRUE(run.calls("render_state_set").empty());
    // The host's own radar routines: its conversion, blip, marker and sized marker.
    ASSERT_EQ(run.calls("radar_to_screen").size(), 1u);
    EXPECT_EQ(run.calls("radar_draw_blip_sprite")[0]["args"], json({3, 164, 36, 255}));
    EXPECT_EQ(run.calls("radar_draw_level_marker").size(), 1u);
    EXPECT_EQ(run.calls("radar_draw_sized_marker")[0]["args"], json({1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(run.calls("radar_draw_sized_marker")[0]["by"], "host");
}

} // namespace
