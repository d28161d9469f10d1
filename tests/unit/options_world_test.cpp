// The scenario's option-set calls: stack words as the host pushes them, and what a bad
// entry reports.

#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "scenario.h"
#include "world_scenario.h"

namespace {

TEST(OptionsWorld, MarkerWordsAreWholeNumbersOrFloatBitsAndTheRestZero)
{
    sim::Scenario s = parseWorld(R"([{"frame": 1, "markers": [
        {"site": "low", "point": [1, 2.5, -3], "args": [-1, 2.0, 4294967295]},
        {"site": "high"}],
        "camera_calls": {"vehicle": {"args": [1.5, 1e1, 7, 8]}, "fixed_b": true},
        "text_code": {"flag_s": 200}},
        {"frame": 3, "text_code": null}])");
    const sim::OptionsWorldState& o = s.worldAt(2).options;
    ASSERT_EQ(o.markers.size(), 2u);
    EXPECT_EQ(o.markers[0].site, sim::MarkerSite::Low);
    EXPECT_EQ(o.markers[0].point.y, 2.5f);
    EXPECT_EQ(o.markers[0].words, (std::vector<uint32_t>{0xFFFFFFFFu, std::bit_cast<uint32_t>(2.0f), 0xFFFFFFFFu}));
    EXPECT_EQ(o.markers[1].site, sim::MarkerSite::High);
    EXPECT_TRUE(o.markers[1].words.empty());
    ASSERT_TRUE(o.cameraCalls.vehicle.has_value());
    EXPECT_FALSE(o.cameraCalls.onFoot.has_value());
    EXPECT_EQ(o.cameraCalls.vehicle->words[1], std::bit_cast<uint32_t>(10.0f));
    EXPECT_EQ(o.cameraCalls.vehicle->words[3], 8u);
    EXPECT_TRUE(o.cameraCalls.fixedB);
    EXPECT_FALSE(o.cameraCalls.fixedA);
    ASSERT_TRUE(o.textCode.has_value());
    EXPECT_EQ(o.textCode->flagR, 0);
    EXPECT_EQ(o.textCode->flagS, 200);
    EXPECT_FALSE(s.worldAt(3).options.textCode.has_value());
    EXPECT_EQ(s.worldAt(3).options.markers.size(), 2u); // not named again: kept
}

TEST(OptionsWorld, BadEntriesNameTheField)
{
    const std::pair<const char*, const char*> cases[] = {
        {R"([{"frame": 1, "markers": [{"site": "middle"}]}])", "world[0].markers[0].site"},
        {R"([{"frame": 1, "markers": [{"point": [0, 0, 0]}]}])", "world[0].markers[0].site"},
        {R"([{"frame": 1, "markers": [{"site": 1}]}])",
         "world[0].markers[0].site: must be \"host_colour\", \"faint\", \"low\" or \"high\""},
        // The low site's function takes seven words, one of them the point.
        {R"([{"frame": 1, "markers": [{"site": "low", "args": [1, 2, 3, 4, 5, 6, 7]}]}])",
         "world[0].markers[0].args"},
        {R"([{"frame": 1, "markers": [{"site": "faint", "args": [4294967296]}]}])",
         "world[0].markers[0].args[0]"},
        {R"([{"frame": 1, "markers": [{"site": "faint", "args": [-2147483649]}]}])",
         "world[0].markers[0].args[0]"},
        {R"([{"frame": 1, "camera_calls": {"on_foot": {"args": [1, 2, 3]}}}])", "world[0].camera_calls.on_foot.args"},
        {R"([{"frame": 1, "camera_calls": {"fixed": true}}])", "world[0].camera_calls.fixed"},
        {R"([{"frame": 1, "text_code": {"flag_r": 256}}])", "world[0].text_code.flag_r"},
    };
    for (const auto& [world, path] : cases)
        EXPECT_NE(worldErrorOf(world).find(path), std::string::npos) << world << ": " << worldErrorOf(world);
}

} // namespace
