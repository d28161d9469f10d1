// Guidance to the map target: when the route and the arrival check run at all, and the
// arrival itself (distance, message, the target's removal).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenes.h"

namespace {

using nlohmann::json;
using namespace route_scene;

const json shortRoute = route({{0, 0, 0}, {50, 0, 0}});

// Whether the band was searched for and whether the arrival was announced in frame 1.
struct Guided {
    bool searched;
    bool arrived;
};

Guided guidedIn(const SimRun& run)
{
    return {!pluginCalls(run, 1, "path_search").empty(), !pluginCalls(run, 1, "show_help_message").empty()};
}

// Two runs each: the target far away (is the route drawn?) and 10 units away (does it
// arrive?).
void expectGuidance(const json& player, const json& targetNear, const json& targetFar, bool guided)
{
    TempDir far, near;
    SimRun drawn = runRoute(far, world(player, targetFar, shortRoute));
    SimRun arrived = runRoute(near, world(player, targetNear, shortRoute));
    ASSERT_EQ(drawn.exitCode, 0) << drawn.err;
    ASSERT_EQ(arrived.exitCode, 0) << arrived.err;
    EXPECT_EQ(guidedIn(drawn).searched, guided);
    EXPECT_FALSE(guidedIn(drawn).arrived);
    EXPECT_EQ(guidedIn(arrived).arrived, guided);
}

TEST(Guidance, VehicleKindsThreeFourAndTenAndWalkingGetNeitherRouteNorArrival)
{
    for (int type : {0, 2, 5, 11, 3, 4, 10}) {
        SCOPED_TRACE(type);
        expectGuidance(driving(type), target({10, 0, 0}), target(), type != 3 && type != 4 && type != 10);
    }
    json walking = {{"position", {0, 0, 0}}};
    expectGuidance(walking, target({10, 0, 0}), target(), false);
    // In a vehicle, but not seated in it.
    json getting_in = driving();
    getting_in["vehicle"]["flags"] = 0xFF;
    expectGuidance(getting_in, target({10, 0, 0}), target(), false);
}

TEST(Guidance, ATargetWhoseRecordNoLongerMatchesIsIgnored)
{
    struct Case {
        const char* what;
        json change;
        bool valid;
    };
    const Case cases[] = {
        {"flags bit 0", {{"flags", 1}}, true},
        {"flags bit 1", {{"flags", 2}}, true},
        {"flags without bit 0 or 1", {{"flags", 0xFC}}, false},
        {"counter mismatch", {{"handle", 0x00080005}}, false},
        {"another record", {{"handle", 0x00070006}}, false},
        {"no target", {{"handle", 0}}, false},
        // An index past the host's 175 trace records, with a counter that the bytes there
        // could hold.
        {"index past the records", {{"handle", 0x0000FFFF}}, false},
        {"index just past the records", {{"handle", 175}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        json near = target({10, 0, 0}), far = target();
        near.update(c.change);
        far.update(c.change);
        expectGuidance(driving(), near, far, c.valid);
    }
}

TEST(Arrival, WithinTwentyUnitsOnTheGroundPlaneTheTargetIsRemovedWithAMessage)
{
    struct Case {
        std::array<double, 3> target;
        bool arrives;
    };
    // The height is left out; the player stands at (3, 4, 0).
    const Case cases[] = {{{22.99, 4, 0}, true}, {{23, 4, 0}, false}, {{3, -15.99, 90}, true},
                          {{3, 24, -5}, false},   {{15, 20, 0}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target[0]);
        json player = driving();
        player["position"] = {3, 4, 0};
        TempDir dir;
        SimRun run = runRoute(dir, world(player, target(c.target), shortRoute), "", 2);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        auto lengths = pluginCalls(run, 1, "vector2_length");
        ASSERT_EQ(lengths.size(), 1u);
        EXPECT_EQ(lengths[0]["args"][0].get<float>(), float(c.target[0]) - 3.0f);
        auto messages = pluginCalls(run, 1, "show_help_message");
        ASSERT_EQ(messages.size(), c.arrives ? 1u : 0u);
        if (!c.arrives)
            continue;
        EXPECT_EQ(messages[0]["args"], json::parse(R"(["You have reached your destination", 1, 0, 1])"));
        auto cleared = pluginCalls(run, 1, "radar_clear_trace");
        ASSERT_EQ(cleared.size(), 1u);
        EXPECT_EQ(cleared[0]["args"][0], 0x00070005);
        // The target is gone: no route in the same frame's radar, nothing in the next.
        EXPECT_TRUE(pluginCalls(run, 1, "path_search").empty());
        EXPECT_TRUE(pluginCalls(run, 2, "path_search").empty());
        EXPECT_TRUE(pluginCalls(run, 2, "show_help_message").empty());
    }
}

TEST(Arrival, TheMessageIsInTheHostsLanguage)
{
    const char* texts[] = {"You have reached your destination", "Vous avez atteint votre destination",
                           "Du hast dein Ziel erreicht", "Hai Raggiunto la tua destinazione",
                           "Has llegado a tu destino", "You have reached your destination"};
    for (int language = 0; language <= 5; ++language) {
        SCOPED_TRACE(language);
        json w = world(driving(), target({0, 19.99, 0}), shortRoute);
        w["language"] = language;
        TempDir dir;
        SimRun run = runRoute(dir, w);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        auto messages = pluginCalls(run, 1, "show_help_message");
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0]["args"][0], texts[language]);
    }
}

TEST(Arrival, IsCheckedAfterTheHostsFrameProcessingAndBeforeTheHotKey)
{
    TempDir dir;
    // F11 held: the toggle announces itself after the arrival.
    SimRun run = runRoute(dir, world(driving(), target({0, 5, 0}), shortRoute), "", 1,
                          "bEnable = 1\nbEnableHotKey = 1\n", {{"keys", {{{"key", 0x7A}, {"from", 1}}}}, {"clock", {{"start_ms", 5000}}}});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> order;
    for (const json& e : run.trace)
        if (e["frame"] == 1 && (e["op"] == "frame_process" || e["op"] == "show_help_message"))
            order.push_back(e["op"] == "frame_process" ? "frame_process" : e["args"][0].get<std::string>());
    EXPECT_EQ(order, (std::vector<std::string>{"frame_process", "You have reached your destination",
                                               "Kell Hud disabled"}));
}

TEST(Arrival, NeedsTheCurrentPlayersCharacter)
{
    // Player 0 drives next to the target, but the current player is player 1, who has none.
    TempDir dir;
    json w = world(driving(), target({0, 5, 0}), shortRoute);
    w["current_player"] = 1;
    SimRun run = runRoute(dir, w);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(pluginCalls(run, 1, "show_help_message").empty());
    EXPECT_FALSE(pluginCalls(run, 1, "path_search").empty());
}

// F11 in frame 2 of three. On the radar the band goes with the display; on the full-screen
// map the band and the map's own blips stay (each frame reaches both overlay sites there).
TEST(GpsRoute, WhileTheDisplayIsOffTheBandLeavesTheRadarButNotTheMap)
{
    for (bool map : {false, true}) {
        SCOPED_TRACE(map ? "map screen" : "radar");
        TempDir dir;
        json more = {{"keys", {{{"key", 0x7A}, {"from", 2}}}}, {"clock", {{"start_ms", 5000}}}};
        if (map)
            more["map_screen"] = {{{"from", 1}, {"to", 3}}};
        json w = world(driving(), target(), route({{0, 0, 0}, {50, 0, 0}, {50, 50, 0}}));
        w["blips"] = {{{"id", 3}, {"at", {0.5, 0.5}}, {"check", true}}};
        SimRun run = runRoute(dir, w, "", 3, "bEnable = 1\nbEnableHotKey = 1\n", more);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const size_t sites = map ? 2 : 1;
        EXPECT_EQ(pluginCalls(run, 1, "im2d_draw").size(), sites);
        for (int frame = 2; frame <= 3; ++frame) {
            SCOPED_TRACE(frame);
            EXPECT_EQ(pluginCalls(run, frame, "path_search").size(), map ? sites : 0u);
            EXPECT_EQ(pluginCalls(run, frame, "im2d_draw").size(), map ? sites : 0u);
            EXPECT_EQ(pluginCalls(run, frame, "sprite_draw").size(), map ? 1u : 0u);
        }
    }
}

} // namespace
