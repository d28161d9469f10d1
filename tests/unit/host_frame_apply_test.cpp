// Applying the scenario to the host frame by frame: host memory keeps what was written,
// as the host's does, so the world is written where an entry begins, the clocks every
// frame, and a new start or a step back writes everything again.

#include <gtest/gtest.h>

#include <string>

#include "host/host.h"
#include "host_build.h"
#include "host_frame.h"
#include "host_image.h"
#include "scenario.h"
#include "system.h"

namespace {

uint8_t blockFlag() { return host::hud_block_flag_a.get(); }
void pokeBlockFlag(uint8_t value) { sim::hostWrite<uint8_t>(host::hud_block_flag_a.address, value); }

class HostFrameApply : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::buildHostImage();
        sim::system().holdKeys({});
    }
};

TEST_F(HostFrameApply, TheWorldIsWrittenWhereAnEntryBeginsAndTheClocksEveryFrame)
{
    sim::Scenario s = sim::parseScenario(R"({"clock": {"start_ms": 1000, "step_ms": 10},
        "world": [{"frame": 2, "block": [5, 0, 0], "alt_clock_offset_ms": 7}, {"frame": 4, "block": [6, 0, 0]}]})");
    sim::applyScenarioStart(s);
    sim::applyFrame(s, 1);
    EXPECT_EQ(blockFlag(), 0);
    sim::applyFrame(s, 2);
    EXPECT_EQ(blockFlag(), 5);
    pokeBlockFlag(9); // the host changes its own memory between frames
    sim::applyFrame(s, 3);
    EXPECT_EQ(blockFlag(), 9); // no entry begins: left as it is
    EXPECT_EQ(host::time_ms.get(), 1020u);
    EXPECT_EQ(host::time_ms_alt.get(), 1027u); // follows the clock
    sim::applyFrame(s, 4);
    EXPECT_EQ(blockFlag(), 6);
}

TEST_F(HostFrameApply, AStepBackOrANewStartWritesTheWorldAndKeysAgain)
{
    sim::Scenario later = sim::parseScenario(R"({"keys": [{"key": 84, "from": 1, "to": 3}],
        "world": [{"frame": 3, "block": [5, 0, 0]}]})");
    sim::applyScenarioStart(later);
    sim::applyFrame(later, 3);
    ASSERT_EQ(blockFlag(), 5);
    sim::applyFrame(later, 1); // before the entry: the defaults again
    EXPECT_EQ(blockFlag(), 0);
    EXPECT_EQ(host::time_ms.get(), 0u);
    EXPECT_TRUE(sim::system().keysDown.count(84));

    sim::Scenario plain = sim::parseScenario("{}");
    sim::applyScenarioStart(plain);
    sim::applyFrame(plain, 1);
    EXPECT_TRUE(sim::system().keysDown.empty()); // nothing held in the new run
}

} // namespace
