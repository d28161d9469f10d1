// The ammo counter's numbers and places, the weapon icon by model, and weapons or players
// the host may hand over that the tables do not cover.

#include <gtest/gtest.h>

#include "scenes.h"

namespace {

using namespace hud_scene;

struct Weapon {
    int type, clip, total;
};

// One weapon per frame, shown all the time (the multiplayer client's regime).
SimRun runWeapons(const TempDir& dir, const std::vector<Weapon>& weapons, const std::string& info,
                  const std::string& screen = "[1920, 1080]")
{
    std::string world;
    for (size_t i = 0; i < weapons.size(); ++i) {
        const Weapon& w = weapons[i];
        world += std::string(i ? ", " : "") + R"({ "frame": )" + std::to_string(i + 1) +
                 R"(, "weapon_info": )" + info + R"(, "players": [ { "weapon": { "slot": 3, "type": )" +
                 std::to_string(w.type) + R"(, "clip": )" + std::to_string(w.clip) + R"(, "total": )" +
                 std::to_string(w.total) + "} }, null ] }";
    }
    return run(dir, R"({"frames": )" + std::to_string(weapons.size()) + R"(, "screen": )" + screen +
                        R"(, "modules": ["samp.dll"], "world": [)" + world + "]}");
}

const char clipSizes[] = R"([ { "type": 24, "clip_size": 7, "model": 348 }, { "type": 31, "clip_size": 500, "model": 356 },
    { "type": 30, "clip_size": 50, "model": 355 }, { "type": 37, "clip_size": 500, "model": 361 },
    { "type": 35, "clip_size": 1, "model": 359 }, { "type": 38, "clip_size": 1000, "model": 362 },
    { "type": 16, "clip_size": 0, "model": 342 }, { "type": 22, "clip_size": 2, "model": 346 },
    { "type": 23, "clip_size": 999, "model": 347 }, { "type": 43, "clip_size": 36, "model": 367 },
    { "type": 40, "clip_size": 50, "model": 364 }, { "type": 44, "clip_size": 50, "model": 368 },
    { "type": 15, "clip_size": 50, "model": 326 } ])";

TEST(AmmoCounter, EveryNumberCase)
{
    TempDir dir;
    SimRun r = runWeapons(dir, {{24, 7, 50}, {31, 150, 300}, {30, 50, 100}, {37, 500, 2500}, {37, 500, 100500},
                                {30, 30, 20030}, {35, 1, 5}, {38, 0, 123456789}, {16, 0, -2147483647 - 1},
                                {22, 2, 10}, {23, 9, 10}, {43, 36, 36}, {37, 95, 1000}, {30, 99, 199}, {30, 100, 200},
                                {30, 10, 20}},
                          clipSizes);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Clip number ends at 1920 - (101 - 61), the reserve 40 further left, both 58 + 5 down.
    const std::vector<std::vector<json>> expected = {
        {{1880, 63, "7"}, {1856, 63, "43"}},          // one-digit clip: reserve 16 right
        {{1880, 63, "150"}, {1818, 63, "150"}},       // three digits: 22 left
        {{1880, 63, "50"}, {1840, 63, "50"}},
        {{1880, 63, "50"}, {1840, 63, "200"}},        // counted in tens
        {{1880, 63, "50"}, {1840, 63, "9999"}},       // a reserve of 100000 or more
        {{1880, 63, "30"}, {1840, 63, "9999"}},       // reserve clamped
        {{1880, 63, "5"}},                            // clip size 1: the total in the clip's place
        {{1880, 63, "123456789"}},                    // clip size 1000; longer than seven characters
        {{1880, 63, "-2147483648"}},                  // clip size 0
        {{1880, 63, "2"}, {1856, 63, "8"}},           // clip size 2 has two numbers
        {{1880, 63, "9"}, {1856, 63, "1"}},           // clip size 999 too
        {{1880, 63, "36"}, {1840, 63, "0"}},
        {{1880, 63, "9"}, {1856, 63, "90"}},          // 95 in tens: one digit
        {{1880, 63, "99"}, {1840, 63, "100"}},        // two digits: no correction
        {{1880, 63, "100"}, {1818, 63, "100"}},
        {{1880, 63, "10"}, {1840, 63, "10"}},
    };
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(printsB(r, static_cast<int>(i) + 1), expected[i]) << "frame " << i + 1;

    // Style, scale of HUD_AMMO, clip colour, then total colour.
    std::vector<json> frame = calls(r, 1);
    std::vector<std::string> ops = opsOf(frame);
    auto at = std::find(ops.begin(), ops.end(), "character_weapon_skill") - ops.begin();
    std::vector<std::string> counter(ops.begin() + at, ops.end());
    EXPECT_EQ(counter, (std::vector<std::string>{"character_weapon_skill", "weapon_info", "text_set_mode_pair",
                                                 "text_set_alignment", "text_set_flag_p", "text_set_flag_q",
                                                 "text_set_font", "text_set_flag_r", "make_colour",
                                                 "text_set_second_colour", "text_set_scale", "make_colour",
                                                 "text_set_colour", "text_print_b", "make_colour", "text_set_colour",
                                                 "text_print_b"}));
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_font"), std::vector<json>{{3}});
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_alignment"), std::vector<json>{{2}});
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_mode_pair"), (std::vector<json>{{0, 0}}));
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_flag_p"), std::vector<json>{{1}});
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_flag_q"), std::vector<json>{{0}});
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_flag_r"), std::vector<json>{{1}});
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_second_colour"), std::vector<json>{{black}});
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_scale"), (std::vector<json>{{0.7f, 1.4f}}));
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_colour"), (std::vector<json>{{clipColour}, {totalColour}}));
}

TEST(AmmoCounter, WeaponsWithoutACounterStillShowTheirIconAndLetTheIconMoveUp)
{
    TempDir dir;
    SimRun r = runWeapons(dir, {{24, 7, 50}, {40, 7, 50}, {24, 7, 50}, {0, 0, 0}, {24, 7, 50}, {44, 7, 50},
                                {15, 7, 50}, {16, 7, 50}, {43, 7, 50}},
                          clipSizes);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (int frame : {2, 4, 6, 7}) {
        EXPECT_TRUE(printsB(r, frame).empty()) << frame;
        // The style is set all the same.
        EXPECT_EQ(argsOf(calls(r, frame), "text_set_second_colour").size(), 1u) << frame;
        EXPECT_EQ(argsOf(calls(r, frame), "sprite_draw").size(), 1u) << frame;
    }
    EXPECT_EQ(printsB(r, 8).size(), 1u); // a clip size of 0: one number
    EXPECT_EQ(printsB(r, 9).size(), 2u);
    // The icon is 27 lower below a counter of the previous frame.
    const int iconTop[] = {67, 94, 67, 94, 67, 94, 67, 67, 94};
    for (int frame = 1; frame <= 9; ++frame)
        EXPECT_EQ(argsOf(calls(r, frame), "sprite_draw").at(0)[1][1], iconTop[frame - 1]) << frame;
    EXPECT_EQ(argsOf(calls(r, 2), "sprite_draw")[0][0], sprite("detonator"));
    EXPECT_EQ(argsOf(calls(r, 4), "sprite_draw")[0][0], sprite("unarmed"));
}

TEST(AmmoCounter, SkillChoosesTheCounterRecordTheIconAlwaysUsesSkillOne)
{
    TempDir dir;
    SimRun r = run(dir, R"({"modules": ["samp.dll"], "world": [ { "frame": 1,
        "players": [ { "skill": 2, "weapon": { "slot": 2, "type": 24, "clip": 7, "total": 50 } }, null ],
        "weapon_info": [ { "type": 24, "clip_size": 7, "model": 348 }, { "type": 24, "skill": 2, "clip_size": 1, "model": 0 } ] } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(argsOf(calls(r, 1), "weapon_info"), (std::vector<json>{{24, 1}, {24, 2}}));
    EXPECT_EQ(argsOf(calls(r, 1), "sprite_draw")[0][0], sprite("desert_eagle"));
    EXPECT_EQ(printsB(r, 1), (std::vector<json>{{1880, 63, "50"}}));
}

TEST(AmmoCounter, PlacesTruncateSeparatelyOnASmallerScreen)
{
    TempDir dir;
    SimRun r = runWeapons(dir, {{24, 7, 50}}, clipSizes, "[1280, 720]");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Clip at 1280 - trunc(40 * 2/3); reserve at 1280 - trunc(80 * 2/3) + trunc(16 * 2/3).
    EXPECT_EQ(printsB(r, 1), (std::vector<json>{{1254, 42, "7"}, {1237, 42, "43"}}));
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_scale"), (std::vector<json>{{720.0f * 0.7f / 1080.0f, 720.0f * 1.4f / 1080.0f}}));
    // Icon: left 1280 - trunc(104 * 2/3), top trunc(67 * 2/3), 42 pixels square.
    EXPECT_EQ(argsOf(calls(r, 1), "sprite_draw")[0][1], json({1211, 44, 1253, 86}));
}

TEST(WeaponIcon, ByModelWithNoIconForModelsOutsideTheTable)
{
    const std::vector<std::pair<int, const char*>> models = {
        {321, "gun_dildo1"}, {326, "gun_cane"}, {327, nullptr}, {331, "brassknuckle"}, {340, nullptr},
        {355, "ak47"},       {368, "goggles"},  {369, "goggles"}, {370, nullptr},     {372, "tec9"},
        {373, nullptr},      {320, nullptr},    {0, "unarmed"},   {-1, "unarmed"},    {100000, nullptr},
        {1, nullptr},        {-2147483647, "unarmed"}};
    std::string world;
    for (size_t i = 0; i < models.size(); ++i)
        world += std::string(i ? ", " : "") + R"({ "frame": )" + std::to_string(i + 1) +
                 R"(, "weapon_info": [ { "type": 24, "clip_size": 7, "model": )" + std::to_string(models[i].first) +
                 R"( } ], "players": [ { "weapon": { "slot": 2, "type": 24, "clip": 7, "total": 50 } }, null ] })";
    TempDir dir;
    SimRun r = run(dir, R"({"frames": )" + std::to_string(models.size()) + R"(, "modules": ["samp.dll"], "world": [)" +
                            world + "]}");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (size_t i = 0; i < models.size(); ++i) {
        auto icons = argsOf(calls(r, static_cast<int>(i) + 1), "sprite_draw");
        if (!models[i].second) {
            EXPECT_TRUE(icons.empty()) << models[i].first;
            continue;
        }
        ASSERT_EQ(icons.size(), 1u) << models[i].first;
        EXPECT_EQ(icons[0][0], sprite(models[i].second)) << models[i].first;
        EXPECT_EQ(icons[0][1][0], 1816);
        EXPECT_EQ(icons[0][2], json({255, 255, 255, 255}));
    }
}

TEST(WeaponIcon, NoPlayerOrAWeaponOutsideTheHostsTablesShowsNoWeapon)
{
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 4, "modules": ["samp.dll"], "world": [
        { "frame": 1, "players": [ null, null ] },
        { "frame": 2, "players": [ { "weapon": { "slot": 2, "type": 200, "clip": 7, "total": 50 } }, null ],
          "weapon_info": [ { "type": 200, "clip_size": 7, "model": 348 }, { "type": -3, "clip_size": 7, "model": 348 } ] },
        { "frame": 3, "players": [ { "weapon": { "slot": 2, "type": -3, "clip": 7, "total": 50 } }, null ] },
        { "frame": 4, "players": [ { "weapon": { "slot": 2, "type": 24, "clip": 7, "total": 50 } }, null ],
          "weapon_info": [ { "type": 24, "clip_size": 7, "model": 348 } ] } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (int frame = 1; frame <= 3; ++frame) {
        EXPECT_TRUE(argsOf(calls(r, frame), "sprite_draw").empty()) << frame;
        EXPECT_TRUE(printsB(r, frame).empty()) << frame;
        EXPECT_TRUE(argsOf(calls(r, frame), "weapon_info").empty()) << frame;
        // The counter's style is set; it clears the shown flag, so the icon of frame 4 stays up.
        EXPECT_EQ(argsOf(calls(r, frame), "text_set_second_colour").size(), 1u) << frame;
    }
    EXPECT_TRUE(argsOf(calls(r, 1), "character_weapon_skill").empty());
    EXPECT_EQ(argsOf(calls(r, 4), "sprite_draw").at(0)[1][1], 67);
}

} // namespace
