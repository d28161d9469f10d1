// The radar frame against host records the scenario cannot describe: a character without
// a player data record, a vehicle without a matrix, a player record without a character
// while the host still reports one. The frame must skip what it cannot read, never read
// through the null pointer.

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "host_build.h"
#include "state/plugin.h"
#include "host/host.h"
#include "host_frame.h"
#include "host_image.h"
#include "render_engine.h"
#include "host_records.h"
#include "radar/draw_radar.h"
#include "scenario.h"
#include "trace.h"

namespace {

size_t count(const std::string& op)
{
    size_t n = 0;
    for (const sim::TraceEntry& e : sim::trace::entries())
        n += e.op == op && e.byPlugin;
    return n;
}

class RadarFrameInHost : public ::testing::Test {
protected:
    void start(const std::string& players)
    {
        sim::buildHostImage();
        sim::startRenderEngine();
        plugin = {};
        plugin.layout.records[HUD_RADAR_SPRITES] = {40, 250, 250, 250};
        plugin.layout.records[HUD_BREATH_BAR] = {312, 80, 8, 180};
        plugin.layout.records[HUD_RADAR_MAP] = {150, 180, 100, 100};
        sim::Scenario scenario = sim::parseScenario(
            R"({"clock": {"start_ms": 10000}, "world": [{"frame": 1, "players": )" + players + "}]}");
        sim::applyScenarioStart(scenario);
        sim::applyFrame(scenario, 1);
        sim::trace::clear();
    }

    static uint32_t character() { return sim::records::character(0); }
};

TEST_F(RadarFrameInHost, CharacterWithoutPlayerDataShowsNoBreathBar)
{
    start(R"([{"state_flags": 256, "breath": 500}])");
    host::store<uint32_t>(character() + host::character_player_data.offset, 0);
    DrawRadar();
    EXPECT_EQ(count("render_state_get"), 1u);
    EXPECT_EQ(count("stat_limit"), 0u);
    EXPECT_EQ(count("fill_rect"), 0u);
    // The rest of the frame is drawn.
    EXPECT_EQ(count("sprite_draw"), 3u);
    EXPECT_EQ(count("radar_draw_blips"), 1u);
}

TEST_F(RadarFrameInHost, VehicleWithoutMatrixShowsNoRollIndicator)
{
    start(R"([{"vehicle": {"type": 4}}])");
    host::store<uint32_t>(sim::records::vehicle(0) + host::vehicle_matrix.offset, 0);
    DrawRadar();
    EXPECT_EQ(count("player_vehicle"), 2u);
    EXPECT_EQ(count("sprite_draw_quad"), 0u);
}

TEST_F(RadarFrameInHost, PlayerRecordWithoutCharacterDrawsNothing)
{
    start(R"([{"health": 50}])");
    host::store<uint32_t>(host::player_records.address, 0);
    DrawRadar();
    EXPECT_EQ(count("player_character"), 1u);
    EXPECT_EQ(count("render_state_set"), 2u);
    EXPECT_EQ(count("make_colour"), 0u);
    EXPECT_EQ(count("radar_draw_map"), 0u);
}

} // namespace

namespace {

TEST(RenderStatesScenario, StatesByNumberElseTheRunStops)
{
    sim::Scenario s = sim::parseScenario(R"({"render_states": {"12": 7, "10": 4294967295}})");
    EXPECT_EQ(s.renderStates, (std::map<int32_t, uint32_t>{{10, 4294967295u}, {12, 7}}));
    for (const char* bad : {R"({"render_states": {"x": 1}})", R"({"render_states": {"12a": 1}})",
                            R"({"render_states": {"-1": 1}})", R"({"render_states": {"": 1}})",
                            R"({"render_states": {"12": -1}})", R"({"render_states": {"12": 4294967296}})",
                            R"({"render_states": {"12": 1.5}})"})
        EXPECT_THROW(sim::parseScenario(bad), std::runtime_error) << bad;
}

} // namespace
