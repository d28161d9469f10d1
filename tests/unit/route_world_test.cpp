// The map target, the route and the graphics device of the scenario's world: what a bad
// entry reports, where they lie in host memory, and how the host's search and trace
// clearing answer.

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "host/host.h"
#include "host_build.h"
#include "host_frame.h"
#include "host_image.h"
#include "host_sites.h"
#include "radar/arrival.h"
#include "scenario.h"
#include "world_scenario.h"
#include "trace.h"

namespace {

sim::Scenario parse(const std::string& world) { return parseWorld(world); }
std::string errorOf(const std::string& world) { return worldErrorOf(world); }

TEST(RouteScenario, BadTargetRouteAndDeviceEntriesNameTheField)
{
    EXPECT_EQ(errorOf(R"([{"frame": 1, "target": {"index": 175}}])"),
              "scenario: world[0].target.index: must be a whole number from 0 to 174");
    EXPECT_EQ(errorOf(R"([{"frame": 1, "target": {"counter": 65536}}])"),
              "scenario: world[0].target.counter: must be a whole number from 0 to 65535");
    EXPECT_EQ(errorOf(R"([{"frame": 1, "target": {"where": 1}}])").rfind("scenario: world[0].target.where: unknown field", 0), 0u);
    EXPECT_EQ(errorOf(R"([{"frame": 1, "route": {"count": 40000}}])"),
              "scenario: world[0].route.count: must be a whole number from -32768 to 32767");
    EXPECT_EQ(errorOf(R"([{"frame": 1, "route": {"nodes": [[1, 2]]}}])"),
              "scenario: world[0].route.nodes[0]: must be a list of 3");
    EXPECT_EQ(errorOf(R"([{"frame": 1, "device": {"scissor": 1}}])"),
              "scenario: world[0].device.scissor: must be true or false");
}

class RouteInHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::buildHostImage();
        sim::trace::clear();
    }
    void apply(const std::string& world, int frame = 1)
    {
        scenario = parse(world);
        sim::applyScenarioStart(scenario);
        for (int f = 1; f <= frame; ++f)
            sim::applyFrame(scenario, f);
    }
    uint32_t handle() const { return host::load<uint32_t>(host::menu_state.address + host::menu_target_handle); }
    uint32_t record(uint32_t index) const { return host::radar_traces.address + index * host::radar_trace_size; }
    sim::Scenario scenario;
};

TEST_F(RouteInHost, TheTargetLiesInItsTraceRecordAndItsHandleNamesIt)
{
    apply(R"([{"frame": 1, "target": {"index": 174, "counter": 65535, "flags": 2, "position": [1.5, -2, 3]}}])");
    EXPECT_EQ(handle(), 0xFFFF00AEu);
    EXPECT_EQ(host::load<uint16_t>(record(174) + host::radar_trace_counter), 65535);
    EXPECT_EQ(host::load<uint8_t>(record(174) + host::radar_trace_flags), 2);
    EXPECT_EQ(host::load<float>(record(174) + host::radar_trace_x), 1.5f);
    EXPECT_EQ(host::load<float>(record(174) + host::radar_trace_y), -2.0f);
    EXPECT_EQ(host::load<float>(record(174) + host::radar_trace_z), 3.0f);

    apply(R"([{"frame": 1, "target": {"index": 3, "handle": 0}}])");
    EXPECT_EQ(handle(), 0u);
    EXPECT_EQ(host::load<uint8_t>(record(174) + host::radar_trace_flags), 0); // the old record is gone
}

TEST_F(RouteInHost, AClearedTargetStaysClearedUntilTheScenarioNamesAnother)
{
    const char world[] = R"([{"frame": 1, "target": {"index": 4, "counter": 9}},
                            {"frame": 2, "language": 3},
                            {"frame": 3, "target": {"index": 4, "counter": 10}}])";
    apply(world);
    ASSERT_EQ(handle(), 0x00090004u);
    host::radar_clear_trace(0x00080004); // an old counter: the record stays in use
    EXPECT_EQ(host::load<uint8_t>(record(4) + host::radar_trace_flags), 1);
    host::radar_clear_trace(0x00090004);
    EXPECT_EQ(host::load<uint8_t>(record(4) + host::radar_trace_flags), 0);
    host::store<uint32_t>(host::menu_state.address + host::menu_target_handle, 0);
    sim::applyFrame(scenario, 2);
    EXPECT_EQ(handle(), 0u);
    EXPECT_EQ(host::load<uint8_t>(record(4) + host::radar_trace_flags), 0);
    sim::applyFrame(scenario, 3);
    EXPECT_EQ(handle(), 0x000A0004u);
    EXPECT_EQ(host::load<uint8_t>(record(4) + host::radar_trace_flags), 1);
}

TEST_F(RouteInHost, TheSearchWritesNoMoreThanTheCallersMaximum)
{
    apply(R"([{"frame": 1, "route": {"nodes": [[0, 0, 0], [3, 4, 0], [3, 4, 12], [0, 0, 0]]}}])");
    void* paths = reinterpret_cast<void*>(uintptr_t{sim::pathObject});
    uint32_t nodes[5] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    int16_t count = 0;
    float distance = -1.0f;
    host::path_search(paths, 0, 0, 0, 0, ~0u, 1, 1, 1, nodes, &count, 2, &distance, 2000.0f, 0, 2000.0f, 0, ~0u, 0, 0);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(distance, 5.0f);
    EXPECT_EQ(nodes[1], 1u);
    EXPECT_EQ(nodes[2], 0xAAu);
    host::path_search(paths, 0, 0, 0, 0, ~0u, 1, 1, 1, nodes, &count, 10, &distance, 2000.0f, 0, 2000.0f, 0, ~0u, 0, 0);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(distance, 30.0f); // 5, 12 and 13
    EXPECT_EQ(nodes[4], 0xAAu);
    Vec3 at{};
    host::path_node_position(host::path_node(paths, nodes[2]), &at);
    EXPECT_EQ(at.z, 12.0f);
    // Any node of the road network has its record, on this route or not; the empty node
    // lies outside it and stops the run.
    EXPECT_EQ(host::path_node(paths, 0x00010005), reinterpret_cast<void*>(uintptr_t{0xCC0000 + 1029 * 0x10}));
    EXPECT_DEATH(host::path_node(paths, 0xFFFFFFFF), "path_node called for a node the road network does not have");
}

TEST_F(RouteInHost, TheDevicesCapabilitiesFollowTheScenario)
{
    auto raster = [] {
        return host::load<uint32_t>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host::device_caps())) +
                                    host::device_caps_raster_caps);
    };
    apply(R"([{"frame": 1}])");
    EXPECT_EQ(raster() & host::raster_caps_scissor_test, host::raster_caps_scissor_test);
    apply(R"([{"frame": 1, "device": {"scissor": false}}])");
    EXPECT_EQ(raster() & host::raster_caps_scissor_test, 0u);
    EXPECT_NE(raster(), 0u); // only the scissor bit is taken away
}

TEST_F(RouteInHost, WorldToRadarCentresOnTheCurrentPlayerAtTheHostsRange)
{
    apply(R"([{"frame": 1, "current_player": 1, "players": [{}, {"position": [100, 200, 9]}]}])");
    Vec2 world{150, 100}, radar{};
    host::world_to_radar(&radar, &world);
    EXPECT_EQ(radar.x, 0.5f);
    EXPECT_EQ(radar.y, -1.0f);
    host::radar_range.set(200.0f);
    host::world_to_radar(&radar, &world);
    EXPECT_EQ(radar.x, 0.25f);
}

TEST_F(RouteInHost, ArrivalClearsTheHandleAndTheRecordAndLeavesOtherRecords)
{
    apply(R"([{"frame": 1, "players": [{"position": [0, 0, 0], "vehicle": {}}],
               "target": {"index": 1, "counter": 3, "position": [5, 5, 0]}}])");
    // A second record in use that the handle must not come to name.
    sim::hostWrite<uint8_t>(record(0) + host::radar_trace_flags, 1);
    CheckArrival();
    EXPECT_EQ(handle(), 0u);
    EXPECT_EQ(host::load<uint8_t>(record(1) + host::radar_trace_flags), 0);
    EXPECT_EQ(host::load<uint8_t>(record(0) + host::radar_trace_flags), 1);
}

} // namespace
