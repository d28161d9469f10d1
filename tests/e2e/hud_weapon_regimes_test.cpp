// Which weapon display the HUD draws, and where: two local players, the outside multiplayer
// client, the host's block flags and the timed windows of the pad cues, and the rows the
// icon and counter move down to below what the previous frame showed.

#include <gtest/gtest.h>

#include "scenes.h"

namespace {

using namespace hud_scene;

const json white = {255, 255, 255, 255};

// The current player holds a desert eagle with 7 in the clip and 50 in all.
const char armed[] = R"(
  "players": [ { "weapon": { "slot": 2, "type": 24, "clip": 7, "total": 50 } }, null ],
  "weapon_info": [ { "type": 24, "clip_size": 7, "model": 348 }, { "type": 31, "clip_size": 50, "model": 356 } ])";

std::string scenario(int frames, const std::string& clock, const std::string& worldRest, const std::string& more = "")
{
    return R"({"frames": )" + std::to_string(frames) + R"(, "clock": )" + clock + more +
           R"(, "world": [ { "frame": 1, )" + armed + worldRest + "]}";
}

size_t iconsIn(const SimRun& run, int frame) { return calls(run, frame, "sprite_draw").size(); }

TEST(WeaponRegimes, SecondPlayerShowsBothPlayersWhateverTheBlockFlagsAndWindows)
{
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 2, "world": [ { "frame": 1,
        "players": [ { "weapon": { "slot": 2, "type": 24, "clip": 7, "total": 50 } },
                     { "weapon": { "slot": 3, "type": 31, "clip": 30, "total": 530 } } ],
        "weapon_info": [ { "type": 24, "clip_size": 7, "model": 348 }, { "type": 31, "clip_size": 50, "model": 356 } ],
        "block": [1, 1, 1] } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;

    // Current player's icon and counter first, then the second player's at their own rows;
    // the second counter takes its text scale from the first's entry.
    EXPECT_EQ(argsOf(calls(r, 1), "sprite_draw"),
              (std::vector<json>{{sprite("desert_eagle"), {1816, 67, 1880, 131}, white},
                                 {sprite("m4"), {1816, 245, 1864, 285}, white}}));
    EXPECT_EQ(printsB(r, 1), (std::vector<json>{{1880, 63, "7"}, {1856, 63, "43"}, {1880, 241, "30"}, {1840, 241, "500"}}));
    auto scales = argsOf(calls(r, 1), "text_set_scale");
    ASSERT_EQ(scales.size(), 2u);
    EXPECT_EQ(scales[0], json({0.7f, 1.4f}));
    EXPECT_EQ(scales[1], json({0.7f, 1.4f}));
    EXPECT_TRUE(calls(r, 1, "pad_weapon_cue_a").empty());
    EXPECT_TRUE(calls(r, 1, "pad_ammo_cue").empty());

    // Both counters were drawn: the first icon moves down 27, the second icon 27.
    auto icons = argsOf(calls(r, 2), "sprite_draw");
    ASSERT_EQ(icons.size(), 2u);
    EXPECT_EQ(icons[0][1], json({1816, 94, 1880, 158}));
    EXPECT_EQ(icons[1][1], json({1816, 272, 1864, 312}));
    EXPECT_EQ(printsB(r, 2)[3], json({1840, 241, "500"}));
}

TEST(WeaponRegimes, OutsideClientShowsTheWeaponEveryFrameWithoutReadingBlockOrCues)
{
    TempDir dir;
    SimRun r = run(dir, scenario(3, R"({"start_ms": 1000, "step_ms": 5000})", R"(, "block": [1, 1, 1] } )",
                                 R"(, "modules": ["SAMP.DLL"])"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (int frame = 1; frame <= 3; ++frame) {
        EXPECT_EQ(iconsIn(r, frame), 1u) << frame;
        EXPECT_EQ(printsB(r, frame).size(), 2u) << frame;
        EXPECT_TRUE(calls(r, frame, "pad_weapon_cue_a").empty());
        EXPECT_TRUE(calls(r, frame, "pad_ammo_cue").empty());
    }
}

TEST(WeaponRegimes, WithoutCuesNothingIsShown)
{
    TempDir dir;
    SimRun r = run(dir, scenario(2, R"({"start_ms": 1000})", "}"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(iconsIn(r, 1) + iconsIn(r, 2), 0u);
    EXPECT_TRUE(printsB(r, 2).empty());
    EXPECT_EQ(calls(r, 2, "pad_weapon_cue_a").size(), 1u);
    EXPECT_EQ(calls(r, 2, "pad_weapon_cue_b").size(), 1u);
    EXPECT_EQ(calls(r, 2, "pad_ammo_cue").size(), 1u);
}

TEST(WeaponRegimes, EachBlockFlagHidesTheTimedDisplayAndFreezesItsWindows)
{
    TempDir dir;
    // 500 ms a frame: the weapon window opened in frame 1 ends with frame 9. Cues given
    // while blocked are not read, so they neither extend it nor open the ammo window.
    SimRun r = run(dir, scenario(9, R"({"start_ms": 1000, "step_ms": 500})", R"(, "pad": { "weapon_a": true } },
        { "frame": 2, "block": [0, 1, 0], "pad": { "weapon_a": true } },
        { "frame": 3, "block": [0, 0, 1], "pad": { "ammo": true } },
        { "frame": 4, "block": [1, 0, 0], "pad": { "weapon_b": true } },
        { "frame": 5, "block": [0, 0, 0], "pad": {} } )"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(iconsIn(r, 1), 1u);
    for (int frame = 2; frame <= 4; ++frame) {
        EXPECT_TRUE(calls(r, frame, "sprite_draw").empty()) << frame;
        EXPECT_TRUE(printsB(r, frame).empty()) << frame;
        EXPECT_TRUE(calls(r, frame, "pad_weapon_cue_a").empty()) << frame;
        EXPECT_TRUE(calls(r, frame, "pad_weapon_cue_b").empty()) << frame;
        EXPECT_TRUE(calls(r, frame, "pad_ammo_cue").empty()) << frame;
    }
    EXPECT_EQ(iconsIn(r, 5), 1u);
    EXPECT_EQ(printsB(r, 5).size(), 2u); // the counter once: no ammo window
    EXPECT_EQ(iconsIn(r, 8), 1u);
    EXPECT_EQ(iconsIn(r, 9), 0u);
}

TEST(WeaponRegimes, WeaponCuesOpenIconAndCounterAmmoCueTheCounterForFourSeconds)
{
    TempDir dir;
    SimRun r = run(dir, scenario(12, R"({"start_ms": 10000, "step_ms": 1000})", R"(, "pad": { "weapon_a": true } },
        { "frame": 2, "pad": {} },
        { "frame": 6, "pad": { "weapon_b": true } },
        { "frame": 7, "pad": {} },
        { "frame": 8, "pad": { "ammo": true } },
        { "frame": 9, "pad": {} } )"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Cue a: 10000 + 4000; shown while the clock is below, so frames 1 to 4.
    for (int frame = 1; frame <= 4; ++frame) {
        EXPECT_EQ(iconsIn(r, frame), 1u) << frame;
        EXPECT_EQ(printsB(r, frame).size(), 2u) << frame;
    }
    EXPECT_EQ(iconsIn(r, 5), 0u);
    EXPECT_TRUE(printsB(r, 5).empty());
    // The second query is asked only when the first gives nothing.
    EXPECT_TRUE(calls(r, 1, "pad_weapon_cue_b").empty());
    EXPECT_EQ(calls(r, 6, "pad_weapon_cue_b").size(), 1u);
    // Cue b at 15000 until 19000; the ammo cue at 17000 until 21000.
    EXPECT_EQ(iconsIn(r, 6), 1u);
    EXPECT_EQ(printsB(r, 7).size(), 2u);
    for (int frame : {8, 9}) {
        EXPECT_EQ(iconsIn(r, frame), 1u) << frame;
        // Both windows open: the counter is drawn twice, in the same place.
        auto prints = printsB(r, frame);
        ASSERT_EQ(prints.size(), 4u) << frame;
        EXPECT_EQ(prints[0], prints[2]);
        EXPECT_EQ(prints[1], prints[3]);
    }
    EXPECT_EQ(iconsIn(r, 10), 0u);
    EXPECT_EQ(printsB(r, 11).size(), 2u);
    EXPECT_TRUE(printsB(r, 12).empty());
}

struct Row {
    bool ammo, stars, cash;
    int iconShift, ammoShift;
};

TEST(WeaponRows, IconAndCounterMoveDownBelowWhatThePreviousFrameShowed)
{
    // Each row takes two frames: the first shows (or not) the counter, stars and cash; the
    // second draws the counter and icon at the rows that gives. 3 s a frame closes the cash
    // window between rows.
    const Row rows[] = {{0, 0, 0, 0, 0},   {0, 0, 1, 27, 32}, {0, 1, 0, 27, 32}, {0, 1, 1, 60, 66},
                        {1, 0, 0, 27, 0},  {1, 0, 1, 60, 34}, {1, 1, 0, 60, 32}, {1, 1, 1, 93, 66}};
    std::string world, keys;
    for (int i = 0; i < 8; ++i) {
        const Row& row = rows[i];
        int first = 2 * i + 1;
        world += std::string(i ? ", " : "") + R"({ "frame": )" + std::to_string(first) +
                 R"(, "weapon_info": [ { "type": 24, "clip_size": 7, "model": 348 } ], "players": [ { "weapon": { "slot": 2, "type": )" + (row.ammo ? "24" : "0") +
                 R"(, "clip": 7, "total": 50 } }, null ], "wanted": { "stars": )" + (row.stars ? "2" : "0") +
                 R"( } }, { "frame": )" + std::to_string(first + 1) +
                 R"(, "players": [ { "weapon": { "slot": 2, "type": 24, "clip": 7, "total": 50 } }, null ] })";
        if (row.cash)
            keys += std::string(keys.empty() ? "" : ", ") + R"({ "key": 84, "from": )" + std::to_string(first) +
                    R"(, "to": )" + std::to_string(first + 1) + "}";
    }
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 16, "clock": {"start_ms": 10000, "step_ms": 3000}, "modules": ["samp.dll"],
                          "keys": [)" + keys + R"(], "world": [)" + world + "]}");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (int i = 0; i < 8; ++i) {
        const Row& row = rows[i];
        int frame = 2 * i + 2;
        auto icons = argsOf(calls(r, frame), "sprite_draw");
        auto prints = printsB(r, frame);
        ASSERT_FALSE(icons.empty()) << frame;
        ASSERT_FALSE(prints.empty()) << frame;
        // Offset 5 added to both rows.
        EXPECT_EQ(icons[0][1][1], 62 + row.iconShift + 5) << row.ammo << row.stars << row.cash;
        // The counter comes last (the cash text may come first).
        EXPECT_EQ(prints.back()[1], 58 + row.ammoShift + 5) << row.ammo << row.stars << row.cash;
    }
}

} // namespace
