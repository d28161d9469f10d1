// The scenario's clock, phone cue, statistics and host bars: what a bad entry reports, and
// what host memory and the host's answers hold once the world is written.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "host/host.h"
#include "host_build.h"
#include "host_frame.h"
#include "host_image.h"
#include "host_records.h"
#include "world_scenario.h"

namespace {

TEST(PhoneWorld, BadEntriesNameTheField)
{
    const std::pair<const char*, const char*> cases[] = {
        {R"([{"frame": 1, "clock": {"hours": 256}}])", "world[0].clock.hours: must be a whole number from 0 to 255"},
        {R"([{"frame": 1, "clock": {"hour": 1}}])", "world[0].clock.hour: unknown field"},
        {R"([{"frame": 1, "pad": {"phone": 1}}])", "world[0].pad.phone: must be true or false"},
        {R"([{"frame": 1, "stats": [1]}])", "world[0].stats: must be an object"},
        {R"([{"frame": 1, "stats": {"x": 1}}])", "world[0].stats.x: a statistic id must be a whole number"},
        {R"([{"frame": 1, "stats": {"64a": 1}}])", "world[0].stats.64a: a statistic id must be a whole number"},
        {R"([{"frame": 1, "stats": {"4294967296": 1}}])", "world[0].stats.4294967296: a statistic id"},
        {R"([{"frame": 1, "stats": {"": 1}}])", "world[0].stats.: a statistic id must be a whole number"},
        // Keys come in text order: both ends of the range pass before "x" is refused.
        {R"([{"frame": 1, "stats": {"-2147483648": 1, "2147483647": 1, "x": 1}}])", "world[0].stats.x: a statistic id"},
        {R"([{"frame": 1, "stats": {"64": "full"}}])", "world[0].stats.64: must be a number"},
        {R"([{"frame": 1, "host_bars": [{"segment": 128}]}])",
         "world[0].host_bars[0].segment: must be a whole number from -128 to 127"},
        {R"([{"frame": 1, "host_bars": [{"width": 65536}]}])", "world[0].host_bars[0].width: must be"},
        {R"([{"frame": 1, "host_bars": [{"colour": [1, 2, 3, 4]}]}])", "world[0].host_bars[0].colour: unknown field"},
    };
    for (const auto& [world, message] : cases)
        EXPECT_NE(worldErrorOf(world).find(std::string("scenario: ") + message), std::string::npos)
            << world << "\n  gave: " << worldErrorOf(world);
    std::string many = "[{\"frame\": 1, \"host_bars\": [{}";
    for (int i = 1; i < 33; ++i)
        many += ", {}";
    EXPECT_NE(worldErrorOf(many + "]}]").find("host_bars: must be a list of 0 to 32"), std::string::npos);
}

TEST(PhoneWorld, ClockCueStatisticsAndBarWordsInHostMemory)
{
    sim::buildHostImage();
    sim::Scenario s = parseWorld(R"([{"frame": 1, "clock": {"hours": 7, "minutes": 5, "day": 255},
        "pad": {"phone": true}, "stats": {"64": 1000, "-3": "nan"},
        "host_bars": [{}, {"x": 1.5, "y": -2, "width": 513, "height": 200, "percent": "inf", "segment": -2,
                           "show_text": 1, "frame": 255, "colour1": [1, 2, 3, 4], "colour2": [5, 6, 7, 8]}]}])");
    sim::writeWorld(s.worldAt(1));
    EXPECT_EQ(host::clock_hours.get(), 7);
    EXPECT_EQ(host::clock_minutes.get(), 5);
    EXPECT_EQ(host::clock_day_of_week.get(), 255);
    EXPECT_TRUE(host::pad_phone_cue(host::pad_get(0), nullptr));
    EXPECT_EQ(host::stat_value(64), 1000.0f);
    EXPECT_TRUE(std::isnan(host::stat_value(-3)));
    EXPECT_EQ(host::stat_value(65), 0.0f);

    uint32_t words[10];
    std::memcpy(words, reinterpret_cast<const void*>(uintptr_t{sim::records::hostBars + sim::records::hostBarSize}),
                sizeof words);
    const uint32_t expected[10] = {0x3FC00000, 0xC0000000, 0xCCCC0201, 0xCCCCCCC8, 0x7F800000,
                                   0xCCCCCCFE, 0xCCCCCC01, 0xCCCCCCFF, 0x04030201, 0x08070605};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(words[i], expected[i]) << i;
}

} // namespace
