// The road route band on the radar: the host's search as the plug-in asks for it, the
// band's vertices and strip, the scissor test around it, and what happens with counts the
// host should never report.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "scenes.h"

namespace {

using nlohmann::json;
using namespace route_scene;

const char radarLayout[] = "HUD_RADAR_MAP 150 180 110 110\n";
// One radar radius is 100 world units (the host's range) and 100 pixels on screen, the
// radar's centre at the screen's (0, 1080 - 880) when the plug-in places it.
const char unitLayout[] = "HUD_RADAR_MAP 0 880 100 100\n";

TEST(GpsRoute, OneLegIsAQuadHalfTheBandsWidthEitherSideOfTheLeg)
{
    TempDir dir;
    SimRun run = runRoute(dir, world(driving(), target(), route({{100, 100, 0}, {200, 100, 0}})), unitLayout);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto draws = pluginCalls(run, 1, "im2d_draw");
    ASSERT_EQ(draws.size(), 1u);
    const json& args = draws[0]["args"];
    EXPECT_EQ(args[0], 4); // a triangle strip
    ASSERT_EQ(args[1], 4);
    Point a = screenOf({1, 1}, {0, 880, 100, 100}), b = screenOf({2, 1}, {0, 880, 100, 100});
    const Point expected[4] = {{a.x, a.y - 5}, {b.x, b.y - 5}, {a.x, a.y + 5}, {b.x, b.y + 5}};
    for (int i = 0; i < 4; ++i) {
        const json& v = args[2][i];
        EXPECT_NEAR(v[0].get<double>(), expected[i].x, 1e-6) << i;
        EXPECT_NEAR(v[1].get<double>(), expected[i].y, 1e-3) << i;
        EXPECT_EQ(v[2].get<float>(), 0.5f + 0.0001f); // the host's near depth, a hair behind
        EXPECT_EQ(v[3], 2);                            // the host's reciprocal depth
        EXPECT_EQ(v[4], 0xFF0AC81Eu);                  // GPS colour, opaque, as 0xAARRGGBB
        EXPECT_EQ(v[5], 0);
        EXPECT_EQ(v[6], 0);
    }
}

TEST(GpsRoute, TheSearchIsAskedFromThePlayerToTheTargetWithTheHostsNineteenWords)
{
    TempDir dir;
    json player = driving();
    player["position"] = {12.5, -3, 4};
    SimRun run = runRoute(dir, world(player, target({300, 400, 5}), route({{0, 0, 0}, {1, 1, 0}})));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto searches = pluginCalls(run, 1, "path_search");
    ASSERT_EQ(searches.size(), 1u);
    // nodes given, count 0 and distance 0 on entry, at most 2000 nodes, 2000.0 twice, no
    // start or target node.
    EXPECT_EQ(searches[0]["args"], json::parse("[0, 12.5, -3, 4, 4294967295, 300, 400, 5, true, 0, 2000, 0,"
                                               " 2000, 0, 2000, 0, 4294967295, 0, 0]"));
    EXPECT_EQ(pluginCalls(run, 1, "player_position")[0]["args"], json::parse("[0]"));
}

TEST(GpsRoute, LegsJoinInOneStripAndEachLegSetsTheBlendAndColour)
{
    TempDir dir;
    SimRun run = runRoute(dir, world(driving(), target(), route({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}})), unitLayout);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto draws = pluginCalls(run, 1, "im2d_draw");
    ASSERT_EQ(draws.size(), 1u);
    ASSERT_EQ(draws[0]["args"][1], 8);
    const json& v = draws[0]["args"][2];
    // The second leg runs up the screen (north): its first side lies 5 pixels to the left,
    // its second 5 to the right.
    Point b = screenOf({1, 0}, {0, 880, 100, 100}), c = screenOf({1, 1}, {0, 880, 100, 100});
    EXPECT_NEAR(v[4][0].get<double>(), b.x - 5, 1e-5);
    EXPECT_NEAR(v[4][1].get<double>(), b.y, 1e-5);
    EXPECT_NEAR(v[5][0].get<double>(), c.x - 5, 1e-5);
    EXPECT_NEAR(v[6][0].get<double>(), b.x + 5, 1e-5);
    EXPECT_NEAR(v[7][0].get<double>(), c.x + 5, 1e-5);
    EXPECT_NEAR(v[7][1].get<double>(), c.y, 1e-5);
    // Texture off once, then per leg: blend 2 and the colour (the radar transform's own
    // state 5 aside).
    std::vector<std::string> ops;
    for (const json& e : routeCalls(run, 1))
        if ((e["op"] == "render_state_set" && e["args"][0] != 5) || e["op"] == "make_colour")
            ops.push_back(e["op"].get<std::string>() + e["args"].dump());
    EXPECT_EQ(ops, (std::vector<std::string>{"render_state_set[1,0]", "render_state_set[10,2]",
                                             "make_colour[10,200,30,255]", "render_state_set[10,2]",
                                             "make_colour[10,200,30,255]"}));
}

TEST(GpsRoute, ScissorClipsTheBandToTheRadarSquareInsetByTwoPixels)
{
    TempDir dir;
    SimRun run = runRoute(dir, world(driving(), target(), route({{0, 0, 0}, {50, 50, 0}})), radarLayout);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Point c1 = screenOf({-1, -1}, {150, 180, 110, 110}), c2 = screenOf({1, 1}, {150, 180, 110, 110});
    json rect = {int(c1.x + 2), int(c2.y + 2), int(c2.x - 2), int(c1.y - 2)};
    EXPECT_EQ(rect, json::parse("[42, 792, 258, 1008]"));
    // The capabilities are asked once the nodes are converted, and again before the test
    // is switched off.
    EXPECT_EQ(deviceOps(run, 1), (std::vector<std::string>{"device_caps", "device_set_render_state[174,1]",
                                                           "device_set_scissor_rect[" + rect.dump() + "]",
                                                           "im2d_draw", "device_caps",
                                                           "device_set_render_state[174,0]"}));
    std::vector<std::string> ops;
    for (const json& e : routeCalls(run, 1))
        if (e["op"] != "render_state_set" && e["op"] != "pad_get")
            ops.push_back(e["op"]);
    EXPECT_EQ(ops, (std::vector<std::string>{"player_character", "player_position", "path_search", "path_node",
                                             "path_node_position", "world_to_radar", "path_node",
                                             "path_node_position", "world_to_radar", "device_caps",
                                             "device_set_render_state", "device_set_scissor_rect", "make_colour",
                                             "im2d_draw", "device_caps", "device_set_render_state"}));
}

TEST(GpsRoute, WithoutTheScissorCapabilityTheDeviceIsLeftAlone)
{
    TempDir dir;
    json w = world(driving(), target(), route({{0, 0, 0}, {50, 50, 0}}));
    w["device"] = {{"scissor", false}};
    SimRun run = runRoute(dir, w, radarLayout);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(deviceOps(run, 1), (std::vector<std::string>{"device_caps", "im2d_draw", "device_caps"}));
}

TEST(GpsRoute, NoNodeDrawsNothingButStillEndsTheScissorTest)
{
    TempDir dir;
    SimRun run = runRoute(dir, world(driving(), target(), route({})));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(deviceOps(run, 1), (std::vector<std::string>{"device_caps", "device_set_render_state[174,0]"}));
    for (const json& e : routeCalls(run, 1))
        EXPECT_NE(e["op"], "render_state_set");
}

TEST(GpsRoute, OneNodeDrawsAnEmptyStrip)
{
    TempDir dir;
    SimRun run = runRoute(dir, world(driving(), target(), route({{10, 10, 0}})));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(deviceOps(run, 1)[3], "im2d_draw");
    auto draws = pluginCalls(run, 1, "im2d_draw");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]["args"][1], 0);
    for (const json& e : routeCalls(run, 1))
        EXPECT_NE(e["op"], "make_colour");
}

TEST(GpsRoute, TheBandIsDrawnEveryFrameAfterTheHostsRadar)
{
    TempDir dir;
    json w = world(driving(), target(), route({{0, 0, 0}, {50, 50, 0}}));
    SimRun run = runRoute(dir, w, radarLayout, 3);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (int frame = 1; frame <= 3; ++frame) {
        std::vector<std::string> ops;
        for (const json& e : run.trace)
            if (e["frame"] == frame && (e["op"] == "radar_draw_overlay" || e["op"] == "im2d_draw"))
                ops.push_back(e["op"]);
        EXPECT_EQ(ops, (std::vector<std::string>{"radar_draw_overlay", "im2d_draw"})) << frame;
    }
}

TEST(GpsRoute, OnTheMapScreenTheBandFollowsTheMapAndItsZoomWithoutScissor)
{
    struct Case {
        double scale;
        double halfWidth; // 5 pixels times the map's zoom
    };
    const Case cases[] = {{1100, 5 * 1.4}, {1240, 5 * 1.4}, {200, 5 * (140.0 / 960 + 0.4)}, {700, 5 * (560.0 / 960 + 0.4)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        json w = world(driving(), target(), route({{0, 0, 0}, {100, 0, 0}}));
        w["map_view"] = {{"scale", c.scale}, {"origin", {320, 224}}};
        TempDir dir;
        SimRun run = runRoute(dir, w, radarLayout, 1, "bEnable = 1\n", {{"map_screen", {{{"from", 1}, {"to", 1}}}}});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        // Both overlay sites run while the map shows; each draws the band on the map.
        auto draws = pluginCalls(run, 1, "im2d_draw");
        ASSERT_EQ(draws.size(), 2u);
        EXPECT_EQ(draws[0]["args"], draws[1]["args"]);
        EXPECT_EQ(pluginCalls(run, 1, "map_point_prepare").size(), 4u);
        EXPECT_EQ(deviceOps(run, 1), (std::vector<std::string>{"im2d_draw", "im2d_draw"}));
        // Radar (0, 0) and (1, 0) on the map, in the 640 x 448 frame scaled to the screen,
        // then moved by the host's map adjustment (10 right, 5 down).
        double ax = 1920.0 / 640 * 320 + 10, bx = 1920.0 / 640 * (320 + c.scale) + 10, y = 1080.0 / 448 * 224 + 5;
        const json& v = draws[0]["args"][2];
        EXPECT_NEAR(v[0][0].get<double>(), ax, 1e-3);
        EXPECT_NEAR(v[1][0].get<double>(), bx, 1e-3);
        EXPECT_NEAR(v[0][1].get<double>(), y - c.halfWidth, 1e-4);
        EXPECT_NEAR(v[3][1].get<double>(), y + c.halfWidth, 1e-4);
    }
}

// Host routes of every length: the plug-in converts and draws at most the 2000 nodes its
// buffers hold, whatever count the host reports.
struct LongRoute {
    int nodes;
    std::optional<int> reported;
    int drawnNodes;
};

TEST(GpsRoute, LongRoutesAndCountsBeyondTheBuffersDrawAtMostWhatFits)
{
    const LongRoute cases[] = {{2000, {}, 2000}, {5000, {}, 2000}, {2600, 5000, 2000},
                               {2600, 32767, 2000}, {2600, -1, 0}, {2600, -32768, 0}};
    for (const LongRoute& c : cases) {
        SCOPED_TRACE(std::to_string(c.nodes) + " nodes, reported " + (c.reported ? std::to_string(*c.reported) : "-"));
        std::vector<std::array<double, 3>> nodes;
        for (int i = 0; i < c.nodes; ++i)
            nodes.push_back({double(i % 50), double(i / 50), 0});
        json r = route(nodes);
        if (c.reported)
            r["count"] = *c.reported;
        TempDir dir;
        SimRun run = runRoute(dir, world(driving(), target(), r));
        ASSERT_EQ(run.exitCode, 0) << run.err;
        auto searches = pluginCalls(run, 1, "path_search");
        ASSERT_EQ(searches.size(), 1u);
        EXPECT_EQ(searches[0]["result"], c.reported.value_or(std::min(c.nodes, 2000)));
        auto looked = pluginCalls(run, 1, "path_node");
        EXPECT_EQ(looked.size(), size_t(c.drawnNodes));
        if (!looked.empty()) {
            EXPECT_EQ(looked.back()["args"][0], (1 << 16) | (1999 - 1024)); // the 2000th node: area 1
        }
        auto draws = pluginCalls(run, 1, "im2d_draw");
        ASSERT_EQ(draws.size(), c.drawnNodes ? 1u : 0u);
        if (c.drawnNodes) {
            EXPECT_EQ(draws[0]["args"][1], 4 * c.drawnNodes - 4);
        }
        EXPECT_NE(run.out.find("heap allocations by the plug-in after start-up: 0"), std::string::npos) << run.out;
    }
}

// Frame by frame: what the search wrote, what it reported, and the band's points. An entry
// the host did not write this time (the empty node, or a node of a longer route before,
// reported or not) is never handed to the host; a node placed nowhere is left out of the band.
TEST(GpsRoute, TheBandEndsAtTheFirstEntryTheSearchDidNotWriteAndSkipsNodesPlacedNowhere)
{
    using Nodes = std::vector<std::array<double, 3>>;
    const double nan = std::nan(""), inf = INFINITY;
    struct Case {
        const char* what;
        Nodes nodes;
        std::optional<int> reported;
        size_t lookedUp;
        std::vector<double> pointsX; // the band's points along x (y is the centre's)
    };
    const Case cases[] = {
        {"five nodes", {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 0}}, {}, 5, {0, 10, 20, 30, 40}},
        {"five written, two reported", {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 0}}, 2, 2, {0, 10}},
        {"three written, five reported", {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}}, 5, 3, {0, 10, 20}},
        {"three written, six reported", {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}}, 6, 3, {0, 10, 20}},
        {"a node placed nowhere", {{0, 0, 0}, {nan, 0, 0}, {20, 0, 0}, {30, inf, 0}}, {}, 4, {0, 20}},
        {"none placed", {{nan, 0, 0}, {0, -inf, 0}}, {}, 2, {}},
    };
    json worlds = json::array();
    for (size_t i = 0; i < std::size(cases); ++i) {
        json r = json::object();
        json list = json::array();
        for (const auto& n : cases[i].nodes) {
            json node = json::array();
            for (double v : n)
                node.push_back(std::isnan(v) ? json("nan") : std::isinf(v) ? json(v > 0 ? "inf" : "-inf") : json(v));
            list.push_back(node);
        }
        r["nodes"] = list;
        if (cases[i].reported)
            r["count"] = *cases[i].reported;
        json w = world(driving(), target(), r);
        w["frame"] = i + 1;
        worlds.push_back(w);
    }
    TempDir dir;
    writeSettings(dir, "bEnable = 1\n");
    dir.write("kell-hud/data/hud.dat", unitLayout);
    json scenario = {{"frames", std::size(cases)}, {"world", worlds}};
    SimRun run = runSim(dir, {"--scenario", dir.write("scenario.json", scenario.dump())});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        const int frame = static_cast<int>(i + 1);
        // The route's length from the search before is not what the search starts from.
        auto searches = pluginCalls(run, frame, "path_search");
        ASSERT_EQ(searches.size(), 1u);
        EXPECT_EQ(searches[0]["args"][11], 0);
        auto looked = pluginCalls(run, frame, "path_node");
        EXPECT_EQ(looked.size(), c.lookedUp);
        for (const json& e : looked)
            EXPECT_NE(e["args"][0], 0xFFFFFFFFu);
        auto draws = pluginCalls(run, frame, "im2d_draw");
        if (c.pointsX.empty()) {
            EXPECT_TRUE(draws.empty());
            continue;
        }
        ASSERT_EQ(draws.size(), 1u);
        const json& v = draws[0]["args"][2];
        ASSERT_EQ(draws[0]["args"][1], 4 * c.pointsX.size() - 4);
        for (size_t leg = 0; leg + 1 < c.pointsX.size(); ++leg) {
            EXPECT_NEAR(v[4 * leg][0].get<double>(), c.pointsX[leg], 1e-4) << leg;
            EXPECT_NEAR(v[4 * leg + 1][0].get<double>(), c.pointsX[leg + 1], 1e-4) << leg;
            for (size_t k = 0; k < 4; ++k)
                EXPECT_TRUE(v[4 * leg + k][1].is_number()) << leg;
        }
    }
}

} // namespace
