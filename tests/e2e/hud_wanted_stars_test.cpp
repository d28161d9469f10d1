// The six wanted-star slots: lit and dark slots, the blinking after a change, and the row
// of the cash text below them.

#include <gtest/gtest.h>

#include "scenes.h"

namespace {

using namespace hud_scene;

std::vector<json> starsIn(const SimRun& r, int frame) { return argsOf(calls(r, frame), "sprite_draw_xywh"); }

TEST(WantedStars, LitSlotsFromTheRightDarkSlotsForTheRest)
{
    TempDir dir;
    SimRun r = run(dir, R"({"clock": {"start_ms": 10000}, "world": [ { "frame": 1, "wanted": { "stars": 3 } } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // First slot at 1920 - (126 - 61), 59 + 5 down; each next one 25 to the left.
    std::vector<json> expected;
    for (int i = 0; i < 6; ++i)
        expected.push_back({sprite("star"), 1855 - 25 * i, 64, 25, 27, i < 3 ? starLit : starDark});
    EXPECT_EQ(starsIn(r, 1), expected);
    EXPECT_EQ(calls(r, 1, "player_wanted")[0]["args"], json({-1}));
}

TEST(WantedStars, CountAboveSixLightsAllSlotsAndNoMore)
{
    TempDir dir;
    SimRun r = run(dir, R"({"clock": {"start_ms": 10000}, "world": [ { "frame": 1, "wanted": { "stars": 4000000000 } } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto stars = starsIn(r, 1);
    ASSERT_EQ(stars.size(), 6u);
    for (const json& s : stars)
        EXPECT_EQ(s[5], starLit);
}

TEST(WantedStars, NoStarsDrawNothingAndTheCashMovesBackUp)
{
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 3, "clock": {"start_ms": 10000}, "keys": [{"key": 84, "from": 1, "to": 3}],
                          "world": [ { "frame": 1, "wanted": { "stars": 1 } }, { "frame": 2, "wanted": { "stars": 0 } },
                                     { "frame": 3, "wanted": { "stars": 6 } } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(starsIn(r, 1).size(), 6u);
    EXPECT_TRUE(starsIn(r, 2).empty());
    // The cash goes 32 lower below stars of the same frame; the block's y offset is not added.
    EXPECT_EQ(printsB(r, 1)[0], json({1880, 88, "$0"}));
    EXPECT_EQ(printsB(r, 2)[0], json({1880, 56, "$0"}));
    EXPECT_EQ(printsB(r, 3)[0], json({1880, 88, "$0"}));
}

TEST(WantedStars, LitSlotsBlinkOnTheOtherClockForTwoSecondsAfterAChange)
{
    TempDir dir;
    // Changed at 10000; 50 ms a frame up to 12250. The other clock runs 150 ms ahead, so it
    // alone decides the phase, and the host clock alone when the blinking ends.
    SimRun r = run(dir, R"({"frames": 46, "clock": {"start_ms": 10000, "step_ms": 50},
                          "world": [ { "frame": 1, "alt_clock_offset_ms": 150,
                                       "wanted": { "stars": 2, "changed_ms": 10000 } } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (int frame = 1; frame <= 46; ++frame) {
        uint32_t now = 10000 + 50 * (frame - 1);
        bool lit = now > 12000 || (now + 150) % 300 < 150;
        auto stars = starsIn(r, frame);
        ASSERT_EQ(stars.size(), 6u) << frame;
        EXPECT_EQ(stars[0][5], lit ? starLit : starDark) << now;
        EXPECT_EQ(stars[1][5], stars[0][5]) << now;
        EXPECT_EQ(stars[2][5], starDark) << now;
    }
}

TEST(WantedStars, PlacesTruncateSeparatelyOnASmallerScreen)
{
    TempDir dir;
    SimRun r = run(dir, R"({"screen": [1280, 720], "clock": {"start_ms": 10000}, "world": [ { "frame": 1, "wanted": { "stars": 1 } } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto stars = starsIn(r, 1);
    ASSERT_EQ(stars.size(), 6u);
    // 1280 - trunc(65 * 2/3), trunc(64 * 2/3); 25 and 27 units are 16 and 18 pixels.
    EXPECT_EQ(stars[0], json({sprite("star"), 1237, 42, 16, 18, starLit}));
    EXPECT_EQ(stars[1], json({sprite("star"), 1221, 42, 16, 18, starDark}));
    EXPECT_EQ(stars[5][1], 1237 - 5 * 16);
}

} // namespace
