// The HUD routine as a whole: the host's own is replaced, the elements come in their
// order, and while the display is off nothing is drawn and no window opens.

#include <gtest/gtest.h>

#include "scenes.h"

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
    EXPECT_EQ(argsOf(calls(r, 2), "sprite_draw").size(), 2u);
    EXPECT_EQ(printsB(r, 2).size(), 1u + 2 + 2 + 2);
    EXPECT_EQ(argsOf(calls(r, 1), "sprite_draw").size(), 0u);
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
        EXPECT_TRUE(argsOf(calls(r, frame), "sprite_draw").empty()) << frame;
        EXPECT_TRUE(printsB(r, frame).empty()) << frame;
        EXPECT_EQ(argsOf(calls(r, frame), "sprite_draw_xywh").size(), 6u) << frame;
    }
}

// Host answers that lead nowhere, one per frame (Tab held throughout, T but in frame 3,
// the radar off): a current player index naming neither record reads as no player; no
// wanted record as no stars; without a pad only the keys open windows (the cash window
// stays open from frame 2); a null text-box rectangle draws no box. Nothing is read
// through them.
TEST(HudFrame, HostAnswersThatNameNothingAreNotFollowed)
{
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 4, "clock": {"start_ms": 10000},
        "keys": [{"key": 84, "from": 1, "to": 2}, {"key": 84, "from": 4}, {"key": 9, "from": 1, "to": 4}],
        "world": [ { "frame": 1, "current_player": 2, "radar_mode": 2, "wanted": { "stars": 2 },
                     "players": [ { "money": 1500, "weapon": { "slot": 2, "type": 24 } }, null ],
                     "weapon_info": [ { "type": 24, "model": 348 } ] },
                   { "frame": 2, "current_player": 0, "wanted": null },
                   { "frame": 3, "wanted": { "stars": 2 }, "pad": null },
                   { "frame": 4, "pad": {}, "text_boxes": [ { "rect": null }, { "rect": [1, 2, 3, 4] } ] } ]})",
                   "bEnable = 1\nbStatsBox = 1\nbCellphone = 1\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    struct Row {
        const char* cash; // and its place: below the stars while they show
        int cashY;
        size_t stars;
        std::vector<json> statistics; // without a character, no weapon skill (71)
        size_t padCues; // weapon, ammo and (for the phone and the stats box) phone cues
    };
    const std::vector<json> allSkills = {{64}, {225}, {71}, {22}, {23}, {21}, {25}};
    const std::vector<json> noSkill = {{64}, {225}, {22}, {23}, {21}, {25}};
    const Row rows[] = {{"$0", 88, 6, noSkill, 3}, {"$1500", 56, 0, allSkills, 5},
                        {"$1500", 88, 6, allSkills, 0}, {"$1500", 88, 6, allSkills, 5}};
    for (int frame = 1; frame <= 4; ++frame) {
        SCOPED_TRACE(frame);
        const Row& row = rows[frame - 1];
        EXPECT_EQ(printsB(r, frame).at(0), json({1880, row.cashY, row.cash}));
        EXPECT_EQ(argsOf(calls(r, frame), "sprite_draw_xywh").size(), row.stars + 1); // and the phone
        EXPECT_EQ(argsOf(calls(r, frame), "stat_value"), row.statistics);
        size_t cues = 0;
        for (const char* op : {"pad_weapon_cue_a", "pad_weapon_cue_b", "pad_ammo_cue", "pad_phone_cue"})
            cues += argsOf(calls(r, frame), op).size();
        EXPECT_EQ(cues, row.padCues);
    }
    // Only the box with a rectangle is drawn.
    std::vector<json> boxes;
    for (const json& e : r.calls("fill_rect_4"))
        boxes.push_back(e["args"][0]);
    EXPECT_EQ(boxes, (std::vector<json>{{1, 4 - 2, 3, 2 + 10}}));
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
        "zone_name": { "text": "Ganton", "shown": true }, "vehicle_name": { "text": "Infernus", "shown": true } } ]})",
                  "bEnable = 1\n", {"--verbose"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The cash window's icon and both players' icons (3), the radar's two ring frames (6) and
    // the wanted flash, every frame.
    EXPECT_NE(r.out.find("sprite_draw: 3000"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("heap allocations by the plug-in after start-up: 0\n"), std::string::npos) << r.out;
}

} // namespace
