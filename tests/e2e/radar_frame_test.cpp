// The radar frame as the host sees it: the ring sprites and gauges in their boxes, the
// order of the host calls around the host's map and blips, the second player's frame, and
// the frames in which nothing is drawn.

#include <gtest/gtest.h>

#include <algorithm>

#include "scenes.h"

namespace {

using namespace radar_scene;

std::string drawn(const std::string& op, const std::string& texture) { return op + " " + sprite(texture).dump(); }

size_t indexOf(const std::vector<std::string>& ops, const std::string& op)
{
    return static_cast<size_t>(std::find(ops.begin(), ops.end(), op) - ops.begin());
}

TEST(RadarFrame, HostRadarRoutineLeadsToTheFrameWithRingsAndGaugesInTheirBoxes)
{
    TempDir dir;
    SimRun r = run(dir, R"({"clock": {"start_ms": 10000}, "world": [{"frame": 1, "players": [{"health": 100, "armour": 50}]}]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.patched(0x58A330));
    EXPECT_TRUE(r.calls("radar_draw").empty()) << "the host's own radar routine still ran";

    // x 40..290, y 830..1080; the front ring from its right corner to its left.
    const json box = {40, 830, 290, 1080};
    EXPECT_EQ(argsOf(calls(r, 1), "sprite_draw"),
              (std::vector<json>{{sprite("radarringback"), box, ringBack},
                                 {sprite("radarringmask"), box, ringMask},
                                 {sprite("radarringfront"), {290, 830, 40, 1080}, white}}));
    auto gauges = argsOf(calls(r, 1), "sprite_draw_uv");
    ASSERT_EQ(gauges.size(), 2u);
    EXPECT_EQ(gauges[0][0], sprite("00"));
    EXPECT_EQ(gauges[0][1], json({40, 830, 165, 1080}));
    EXPECT_EQ(gauges[0][2], health);
    EXPECT_EQ(uvOf(gauges[0]), leftHalf);
    EXPECT_EQ(gauges[1][0], sprite("100"));
    EXPECT_EQ(gauges[1][1], json({165, 830, 290, 1080}));
    EXPECT_EQ(gauges[1][2], armour);
    EXPECT_EQ(uvOf(gauges[1]), rightHalf);
}

TEST(RadarFrame, BoxesFollowTheRadarOffsetAndTruncateEachLengthOnItsOwn)
{
    TempDir dir;
    SimRun r = run(dir, R"({"screen": [1280, 720], "world": [{"frame": 1, "players": [{"armour": 100}]}]})",
                   "bEnable = 1\n", layoutWithOffset("10 -20"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // 2/3 of a unit: x 50 -> 33, w 250 -> 166 (half 83), y 230 -> 153, h 250 -> 166.
    EXPECT_EQ(argsOf(calls(r, 1), "sprite_draw")[0][1], json({33, 567, 199, 733}));
    auto gauges = argsOf(calls(r, 1), "sprite_draw_uv");
    ASSERT_EQ(gauges.size(), 2u);
    EXPECT_EQ(gauges[0][1], json({33, 567, 116, 733}));
    EXPECT_EQ(gauges[1][1], json({116, 567, 199, 733}));
}

TEST(RadarFrame, HostCallsComeInTheFramesOrderAroundTheMapAndBlips)
{
    TempDir dir;
    SimRun r = run(dir, R"({"render_states": {"12": 7}, "clock": {"start_ms": 10000},
        "world": [{"frame": 1, "damage_ms": 9300, "wanted": {"stars": 1},
                   "players": [{"health": 0, "armour": 50, "state_flags": 256, "breath": 500,
                                "vehicle": {"type": 4}}]}]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> gaugeStates = {"render_state_set [5,1]", "render_state_set [10,5]",
                                                  "render_state_set [11,6]"};
    std::vector<std::string> expected = {"player_character", "render_state_get [12]", "render_state_set [12,1]",
                                         "make_colour", "make_colour", "make_colour",
                                         // ring back, then the mask and the damage flash under blend 2
                                         "make_colour", "make_rect", drawn("sprite_draw", "radarringback"),
                                         "render_state_set [10,2]", "make_colour", "make_rect",
                                         drawn("sprite_draw", "radarringmask"), "make_colour", "make_rect",
                                         drawn("sprite_draw", "radarringmask"), "render_state_set [10,5]",
                                         // the map (its blend entry sets state 12, its gang overlay blend
                                         // 5), then the wanted flash
                                         "radar_draw_map", "render_state_set [12,1]", "render_state_set [10,5]",
                                         "player_character",
                                         "player_wanted", "make_colour", "render_state_set [12,1]",
                                         "render_state_set [10,2]", "make_rect", drawn("sprite_draw", "radarringmask")};
    // No health: the gauge's states without a sprite; then the armour gauge.
    expected.insert(expected.end(), gaugeStates.begin(), gaugeStates.end());
    expected.push_back("render_state_set [8,0]");
    expected.insert(expected.end(), gaugeStates.begin(), gaugeStates.end());
    for (const std::string& op : {std::string("make_rect"), drawn("sprite_draw_uv", "100"),
                                  std::string("render_state_set [8,0]"), std::string("stat_limit"),
                                  std::string("make_colour"), std::string("make_rect"), std::string("fill_rect"),
                                  std::string("make_colour"), std::string("make_rect"), std::string("fill_rect"),
                                  std::string("make_rect"), std::string("fill_rect"), std::string("make_colour"),
                                  std::string("make_rect"), drawn("sprite_draw", "radarringfront"),
                                  std::string("radar_draw_blips"), std::string("player_vehicle"),
                                  std::string("player_vehicle"), std::string("make_colour"),
                                  "sprite_draw_quad " + json("radar_centre").dump(),
                                  std::string("render_state_set [12,7]")})
        expected.push_back(op);
    EXPECT_EQ(summary(r, 1), expected);
    // What state 12 held before is what it holds again.
    EXPECT_EQ(calls(r, 1, "render_state_get")[0]["result"], 7);
}

// In frame 2 the host has no wanted record: no flash, and nothing read through it.
TEST(RadarFrame, BlendingModeDrawsTheWantedFlashBeforeTheMap)
{
    for (bool blending : {false, true}) {
        SCOPED_TRACE(blending);
        TempDir dir;
        SimRun r = run(dir, R"({"frames": 2, "clock": {"start_ms": 10000}, "world": [{"frame": 1, "wanted": {"stars": 3}},
                               {"frame": 2, "wanted": null}]})",
                       blending ? "bEnable = 1\nbEnableBlendingMode = 1\n" : "bEnable = 1\n");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        auto masks = [&](int frame) {
            auto ops = summary(r, frame);
            return std::count(ops.begin(), ops.end(), drawn("sprite_draw", "radarringmask"));
        };
        EXPECT_EQ(masks(2), masks(1) - 1);
        auto ops = summary(r, 1);
        size_t map = indexOf(ops, "radar_draw_map");
        size_t flash = indexOf(ops, "player_wanted");
        ASSERT_LT(map, ops.size());
        ASSERT_LT(flash, ops.size());
        EXPECT_EQ(flash < map, blending);
        if (blending) {
            // The map is drawn with the flash's blend 2 left set.
            EXPECT_EQ(ops[map - 3], "render_state_set [10,2]");
            EXPECT_EQ(ops[map - 1], drawn("sprite_draw", "radarringmask"));
        } else {
            EXPECT_EQ(ops[map - 1], "render_state_set [10,5]");
        }
    }
}

TEST(RadarFrame, NoRadarModeAndTheToggleDrawNothingAndPutState12Back)
{
    struct Case {
        const char* name;
        std::string settings;
        std::string scenario;
    };
    const Case cases[] = {
        {"radar mode 2", "bEnable = 1\n",
         R"({"render_states": {"12": 7}, "world": [{"frame": 1, "radar_mode": 2, "wanted": {"stars": 2},
             "players": [{"vehicle": {"type": 4}}, {}]}]})"},
        {"display toggled off", "bEnable = 1\nbEnableHotKey = 1\n",
         R"({"render_states": {"12": 7}, "clock": {"start_ms": 10000}, "keys": [{"key": 122, "from": 1}],
             "world": [{"frame": 1, "wanted": {"stars": 2}, "players": [{"vehicle": {"type": 4}}, {}]}]})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        SimRun r = run(dir, c.scenario, c.settings);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(summary(r, 1), (std::vector<std::string>{"player_character", "render_state_get [12]",
                                                           "render_state_set [12,1]", "render_state_set [12,7]"}));
        EXPECT_TRUE(r.calls("radar_draw_map").empty());
        EXPECT_TRUE(r.calls("radar_draw_blips").empty());
    }
}

TEST(RadarFrame, RadarModeOtherThanTwoDrawsTheRadar)
{
    TempDir dir;
    SimRun r = run(dir, R"({"clock": {"start_ms": 10000}, "world": [{"frame": 1, "radar_mode": 1}]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(argsOf(calls(r, 1), "sprite_draw").size(), 3u);
    EXPECT_EQ(argsOf(calls(r, 1), "radar_draw_map").size(), 1u);
}

TEST(RadarFrame, SecondPlayersReducedFrameComesFirstAndNeverTurnsToTheDamageColour)
{
    TempDir dir;
    SimRun r = run(dir, R"({"clock": {"start_ms": 10000}, "world": [{"frame": 1, "damage_ms": 9900, "wanted": {"stars": 1},
        "players": [{"health": 50, "armour": 0, "max_health": 200},
                    {"health": 20, "armour": 45, "max_armour": 50, "state_flags": 256, "breath": 250}]}]})",
                   "bEnable = 1\n", layoutWithOffset("10 -20"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Second box: x 345..525, y 860..1040; the radar offset moves only the first.
    const json second = {345, 860, 525, 1040};
    auto rings = argsOf(calls(r, 1), "sprite_draw");
    ASSERT_GE(rings.size(), 3u);
    EXPECT_EQ(rings[0], json({sprite("radarringback"), second, ringBack}));
    EXPECT_EQ(rings[1], json({sprite("radarringmask"), second, ringMask}));
    EXPECT_EQ(rings[2], json({sprite("radarringfront"), {525, 860, 345, 1040}, white}));
    // Then the first frame: back, mask, damage flash, wanted flash, front.
    EXPECT_EQ(rings.size(), 8u);

    auto gauges = argsOf(calls(r, 1), "sprite_draw_uv");
    ASSERT_EQ(gauges.size(), 3u);
    // 20 of 100: the health colour even at the damage threshold; 45 of 50 armour.
    EXPECT_EQ(gauges[0], json({sprite("160"), {345, 860, 435, 1040}, health, 0, 0, 0.5, 0, 0, 1, 0.5, 1}));
    EXPECT_EQ(gauges[1], json({sprite("20"), {435, 860, 525, 1040}, armour, 0.5, 0, 1, 0, 0.5, 1, 1, 1}));
    // First player: 50 of 200 health; no armour, no armour gauge.
    EXPECT_EQ(gauges[2][0], sprite("150"));
    EXPECT_EQ(gauges[2][1], json({50, 850, 175, 1100}));

    // The second player's breath bar, at its own record and place: a quarter full.
    auto fills = argsOf(calls(r, 1), "fill_rect");
    ASSERT_EQ(fills.size(), 3u);
    EXPECT_EQ(fills[0], json({{535, 1022, 547, 878}, {0, 0, 0, 255}}));
    EXPECT_EQ(fills[1], json({{537, 1020, 545, 880}, breathBackground}));
    EXPECT_EQ(fills[2], json({{537, 1020, 545, 985}, breathFill}));
    // All of the second frame lies before the first frame's map.
    auto ops = summary(r, 1);
    EXPECT_LT(indexOf(ops, "fill_rect") + 2, indexOf(ops, "radar_draw_map"));
    EXPECT_EQ(calls(r, 1, "radar_draw_map").size(), 1u);
    EXPECT_EQ(calls(r, 1, "radar_draw_blips").size(), 1u);
}

TEST(RadarFrame, WithoutAFirstPlayerCharacterNothingIsDrawnAndState12IsBack)
{
    for (const char* players : {R"([null])", R"([null, {"health": 50, "state_flags": 256, "vehicle": {"type": 4}}])"}) {
        SCOPED_TRACE(players);
        TempDir dir;
        SimRun r = run(dir, std::string(R"({"render_states": {"12": 3}, "world": [{"frame": 1, "wanted": {"stars": 4},
            "players": )") + players + "}]}");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(summary(r, 1), (std::vector<std::string>{"player_character", "render_state_get [12]",
                                                           "render_state_set [12,1]", "render_state_set [12,3]"}));
    }
}

// The breath bar shows as the host reports the first player's character; its level is that
// of player record 0's character. Frame 1: record 0's character is under water, the one the
// host reports is not; frame 2 the other way round (a quarter of record 0's breath).
TEST(RadarFrame, BreathBarFollowsTheCharacterTheHostReportsAndRecordZerosLevel)
{
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 2, "world": [
        {"frame": 1, "player_character_0": 1,
         "players": [{"state_flags": 256, "breath": 500}, {"state_flags": 0, "breath": 100}]},
        {"frame": 2, "player_character_0": 1,
         "players": [{"state_flags": 0, "breath": 250}, {"state_flags": 256, "breath": 100}]}]})",
                   "bEnable = 1\n", R"(
HUD_RADAR_SPRITES         40   250  250  250
HUD_BREATH_BAR            312  80   8    180
HUD_SECOND_RADAR_SPRITES  345  220  180  180
HUD_SECOND_BREATH_BAR     537  60   8    140
)");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(argsOf(calls(r, 1), "fill_rect").empty());
    auto fills = argsOf(calls(r, 2), "fill_rect");
    // The second player's own bar (its character is the one under water), then the first's.
    ASSERT_EQ(fills.size(), 6u);
    EXPECT_EQ(fills[2], json({{537, 1020, 545, 1006}, breathFill}));
    EXPECT_EQ(fills[5], json({{312, 1000, 320, 955}, breathFill}));
}

// Before the host's renderer starts there is no render engine: the radar draws without
// render states, and the host is not crashed through the missing record.
TEST(RadarFrame, WithoutTheHostsRenderEngineTheFrameDrawsWithoutRenderStates)
{
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 2, "clock": {"start_ms": 10000}, "world": [{"frame": 1,
        "players": [{"health": 100, "armour": 50}]}],
        "renderer": [{"frame": 2, "event": "start"}]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<json> drawn;
    for (const json& e : r.trace) {
        if (e["frame"] != 1)
            continue;
        if (e["op"] == "radar_draw_overlay")
            break;
        EXPECT_EQ(e["op"].get<std::string>().rfind("render_state", 0), std::string::npos) << e.dump();
        if (e["op"].get<std::string>().rfind("sprite_draw", 0) == 0)
            drawn.push_back(e["args"][0]);
    }
    // Nor are the sprites bound yet.
    EXPECT_EQ(drawn, std::vector<json>(5, nullptr));
    EXPECT_FALSE(argsOf(calls(r, 2), "render_state_set").empty());
}

} // namespace
