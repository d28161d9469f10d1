// The scenario's radar fields: blips with their markers, the map view and the map-blend
// byte, and what a bad one reports.

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <stdexcept>
#include <string>

#include "scenario.h"
#include "world_scenario.h"

namespace {

sim::Scenario parse(const std::string& world) { return parseWorld(world); }
std::string errorOf(const std::string& world) { return worldErrorOf(world); }

TEST(RadarScenario, BlipsCarryTheirMarkersAndTheSizedMarkersWords)
{
    sim::Scenario s = parse(R"([{"frame": 1, "map_blend_byte": 200, "map_view": {"origin": [3, "-inf"]},
        "blips": [{"id": 255, "at": ["nan", -0.5], "alpha": 0, "check": false, "level": {"kind": 7},
                   "sized": [-1, 1.5, "inf", -2, 4294967295, -2147483648, 0]},
                  {}]}])");
    const sim::WorldState& w = s.worldAt(1);
    ASSERT_EQ(w.blips.size(), 2u);
    const sim::BlipState& b = w.blips[0];
    EXPECT_EQ(b.id, 255);
    EXPECT_TRUE(std::isnan(b.at.x));
    EXPECT_EQ(b.at.y, -0.5f);
    EXPECT_EQ(b.alpha, 0);
    EXPECT_EQ(b.check, false);
    ASSERT_TRUE(b.level.has_value());
    EXPECT_EQ(b.level->kind, 7);
    EXPECT_EQ(b.level->colour.a, 255);
    ASSERT_TRUE(b.sized.has_value());
    const std::array<uint32_t, 7> words = {0xFFFFFFFFu, std::bit_cast<uint32_t>(1.5f),
                                           std::bit_cast<uint32_t>(INFINITY), std::bit_cast<uint32_t>(-2.0f),
                                           0xFFFFFFFFu, 0x80000000u, 0};
    EXPECT_EQ(*b.sized, words);
    // A blip given as {} takes every default; the map view keeps the scale it was not given.
    EXPECT_EQ(w.blips[1].id, 0);
    EXPECT_EQ(w.blips[1].alpha, 255);
    EXPECT_FALSE(w.blips[1].check.has_value() || w.blips[1].level || w.blips[1].sized);
    EXPECT_EQ(w.mapView.scale, 1.0f);
    EXPECT_EQ(w.mapView.originX, 3.0f);
    EXPECT_EQ(w.mapView.originY, -INFINITY);
    EXPECT_EQ(w.mapBlendByte, 200);
    EXPECT_TRUE(s.worldAt(0).blips.empty());
}

TEST(RadarScenario, BadRadarFieldsNameTheField)
{
    EXPECT_EQ(errorOf(R"([{"frame": 1, "blips": [{"id": 256}]}])"),
              "scenario: world[0].blips[0].id: must be a whole number from 0 to 255");
    EXPECT_EQ(errorOf(R"([{"frame": 1, "blips": [{}, {"sized": [1, 2, 3, 4, 5, 6]}]}])"),
              "scenario: world[0].blips[1].sized: must be a list of 7");
    EXPECT_EQ(errorOf(R"([{"frame": 1, "blips": [{"sized": [1, 2, 3, 4, 5.5, 6, 7]}]}])"),
              "scenario: world[0].blips[0].sized[4]: must be a whole number from -2147483648 to 4294967295");
    EXPECT_EQ(errorOf(R"([{"frame": 1, "blips": [{"at": [1]}]}])"), "scenario: world[0].blips[0].at: must be a list of 2");
    EXPECT_EQ(errorOf(R"([{"frame": 1, "blips": [{"level": {"shade": 1}}]}])"),
              "scenario: world[0].blips[0].level.shade: unknown field; the fields here are kind, colour");
    EXPECT_EQ(errorOf(R"([{"frame": 1, "map_view": {"scale": "big"}}])").rfind("scenario: world[0].map_view.scale: ", 0), 0u);
    EXPECT_EQ(errorOf(R"([{"frame": 1, "map_blend_byte": -1}])"),
              "scenario: world[0].map_blend_byte: must be a whole number from 0 to 255");
}

} // namespace
