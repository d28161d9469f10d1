// The HUD routine as a whole: the host's own is replaced, the elements come in their
// order, and while the display is off nothing is drawn and no window opens.

#include <gtest/gtest.h>

#include "hud_scene.h"

namespace {

using namespace hud_scene;

const char armedWithCue[] = R"("world": [ { "frame": 1,
    "players": [ { "weapon": { "slot": 2, "type": 24, "clip": 7, "total": 50 } }, null ],
    "weapon_info": [ { "type": 24, "clip_size": 7, "model": 348 } ], "wanted": { "stars": 2 } },
  { "frame": 2, "pad": { "weapon_a": true, "ammo": true } }, { "frame": 3, "pad": {} } ])";

TEST(HudFrame, StarsThenCashWindowThenWeapon)
{
    TempDir dir;
    SimRun r = run(dir, std::string(R"({"frames": 2, "clock": {"start_ms": 10000}, "keys": [{"key": 84, "from": 2}], )") +
                            armedWithCue + "}");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> ops = opsOf(calls(r, 2));
    auto first = [&](const std::string& op) { return std::find(ops.begin(), ops.end(), op) - ops.begin(); };
    EXPECT_EQ(ops[0], "pad_get");
    EXPECT_EQ(ops[1], "player_wanted");
    EXPECT_LT(first("sprite_draw_xywh"), first("text_print_b"));
    EXPECT_LT(first("text_print_b"), first("pad_weapon_cue_a"));
    // The cash window's weapon, then the weapon window's, then the ammo window's counter.
    EXPECT_EQ(argsOf(r, 2, "sprite_draw").size(), 2u);
    EXPECT_EQ(printsB(r, 2).size(), 1u + 2 + 2 + 2);
    EXPECT_EQ(argsOf(r, 1, "sprite_draw").size(), 0u);
}

TEST(HudFrame, WhileDisabledNothingIsDrawnAndCuesOpenNoWindow)
{
    TempDir dir;
    // F11 in frame 1 switches off; the cues of frame 2 find the display off; F11 in frame 3
    // (1200 ms later) switches it on again, with no window open.
    SimRun r = run(dir, std::string(R"({"frames": 4, "clock": {"start_ms": 5000, "step_ms": 600},
                                       "keys": [{"key": 122, "from": 1}, {"key": 122, "from": 3}, {"key": 84, "from": 2}], )") +
                            armedWithCue + "}",
                   "bEnable = 1\nbEnableHotKey = 1\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(r.calls("show_help_message").size(), 2u);
    for (int frame = 1; frame <= 2; ++frame)
        EXPECT_EQ(opsOf(calls(r, frame)), std::vector<std::string>{"pad_get"}) << frame;
    for (int frame = 3; frame <= 4; ++frame) {
        EXPECT_TRUE(argsOf(r, frame, "sprite_draw").empty()) << frame;
        EXPECT_TRUE(printsB(r, frame).empty()) << frame;
        EXPECT_EQ(argsOf(r, frame, "sprite_draw_xywh").size(), 6u) << frame;
    }
}

TEST(HudFrame, HostHudRoutineIsReplaced)
{
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 2})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.calls("hud_draw").empty());
    EXPECT_EQ(calls(r, 1, "pad_get").size(), 2u);
}

TEST(HudFrame, BusyFramesAllocateNothing)
{
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 300, "clock": {"start_ms": 10000, "step_ms": 33},
        "keys": [{"key": 84, "from": 1, "to": 300}], "world": [ { "frame": 1,
        "players": [ { "money": -2147483648, "weapon": { "slot": 2, "type": 38, "clip": 0, "total": 2000000000 } },
                     { "weapon": { "slot": 3, "type": 31, "clip": 150, "total": 9000 } } ],
        "weapon_info": [ { "type": 38, "clip_size": 1000, "model": 362 }, { "type": 31, "clip_size": 500, "model": 356 } ],
        "wanted": { "stars": 6, "changed_ms": 10000 }, "pad": { "weapon_a": true, "ammo": true, "cash": 1 },
        "zone_name": { "text": "Ganton", "shown": true }, "vehicle_name": { "text": "Infernus", "shown": true } } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The cash window's icon and both players' icons (3), the radar's two ring frames (6) and
    // the wanted flash, every frame.
    EXPECT_NE(r.out.find("sprite_draw: 3000"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("heap allocations by the plug-in after start-up: 0\n"), std::string::npos) << r.out;
}

} // namespace
