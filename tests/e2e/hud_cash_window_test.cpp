// The cash window: its two cues, how long it stays open, the money texts, and what it
// shows with it (the zone and vehicle names and the weapon).

#include <gtest/gtest.h>

#include "scenes.h"

namespace {

using namespace hud_scene;

bool cashShown(const SimRun& r, int frame)
{
    for (const json& p : printsB(r, frame))
        if (p[2].get<std::string>().find('$') != std::string::npos)
            return true;
    return false;
}

TEST(CashWindow, KeyOpensItFor2500MsAndHoldingKeepsItOpen)
{
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 11, "clock": {"start_ms": 10000, "step_ms": 1000},
                          "keys": [{"key": 84, "from": 1}, {"key": 84, "from": 5, "to": 8}],
                          "world": [ { "frame": 1, "players": [ { "money": 1500 }, null ] } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const bool open[] = {true, true, true, false, true, true, true, true, true, true, false};
    for (int frame = 1; frame <= 11; ++frame)
        EXPECT_EQ(cashShown(r, frame), open[frame - 1]) << frame;
    EXPECT_EQ(printsB(r, 1)[0], json({1880, 56, "$1500"}));
}

TEST(CashWindow, PadCueOpensItToo)
{
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 4, "clock": {"start_ms": 10000, "step_ms": 1000},
                          "world": [ { "frame": 1, "pad": { "cash": -1 } }, { "frame": 2, "pad": {} } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(cashShown(r, 1));
    EXPECT_TRUE(cashShown(r, 3));
    EXPECT_FALSE(cashShown(r, 4));
}

TEST(CashWindow, ClosesExactly2500MsAfterTheLastCue)
{
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 3, "clock": {"start_ms": 10000, "step_ms": 1},
                          "steps": [{"frame": 2, "ms": 2499}],
                          "world": [ { "frame": 1, "pad": { "cash": 1 } }, { "frame": 2, "pad": {} } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(cashShown(r, 2));
    EXPECT_FALSE(cashShown(r, 3));
}

TEST(CashWindow, MoneyPrintsInFullWithItsSign)
{
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 5, "clock": {"start_ms": 10000}, "keys": [{"key": 84, "from": 1, "to": 5}],
                          "world": [ { "frame": 1, "players": [ { "money": 0 }, null ] },
                                     { "frame": 2, "players": [ { "money": -250 }, null ] },
                                     { "frame": 3, "players": [ { "money": 2147483647 }, null ] },
                                     { "frame": 4, "players": [ { "money": -2147483648 }, null ] },
                                     { "frame": 5, "current_player": 1,
                                       "players": [ { "money": 5 }, { "money": 77 } ] } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const char* texts[] = {"$0", "-$250", "$2147483647", "-$2147483648", "$77"};
    for (int frame = 1; frame <= 5; ++frame)
        EXPECT_EQ(printsB(r, frame).at(0), json({1880, 56, texts[frame - 1]})) << frame;
}

TEST(CashWindow, ShowsCashNamesAndWeaponEachInItsOwnStyle)
{
    TempDir dir;
    SimRun r = run(dir, R"({"clock": {"start_ms": 10000}, "keys": [{"key": 84, "from": 1}],
        "world": [ { "frame": 1, "players": [ { "money": 42, "weapon": { "slot": 2, "type": 24, "clip": 7, "total": 50 } }, null ],
                     "weapon_info": [ { "type": 24, "clip_size": 7, "model": 348 } ],
                     "zone_name": { "text": "Ganton", "shown": true },
                     "vehicle_name": { "text": "Infernus", "shown": true } } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<json> frame = calls(r, 1);
    // From the window's pad query to the weapon cues that follow it.
    size_t begin = 0, end = 0;
    for (size_t i = 0; i < frame.size(); ++i) {
        if (frame[i]["op"] == "pad_get")
            begin = i;
        if (frame[i]["op"] == "pad_weapon_cue_a" && !end)
            end = i;
    }
    std::vector<json> block(frame.begin() + static_cast<long>(begin) + 1, frame.begin() + static_cast<long>(end));
    const std::vector<std::string> style = {"text_set_mode_pair", "text_set_alignment", "text_set_flag_p", "text_set_flag_q",
                                            "text_set_font", "text_set_flag_r", "text_set_scale"};
    const std::vector<std::string> colours = {"make_colour", "text_set_colour", "make_colour", "text_set_second_colour"};
    std::vector<std::string> expected;
    auto add = [&](const std::vector<std::string>& ops) { expected.insert(expected.end(), ops.begin(), ops.end()); };
    for (const char* print : {"text_print_b", "text_print", "text_print"}) {
        add(style);
        add(colours);
        add(style);
        if (std::string(print) == "text_print_b")
            add(colours);
        expected.push_back(print);
    }
    add({"weapon_info", "make_rect", "make_colour", "sprite_draw", "character_weapon_skill", "weapon_info"});
    add({"text_set_mode_pair", "text_set_alignment", "text_set_flag_p", "text_set_flag_q", "text_set_font",
         "text_set_flag_r", "make_colour", "text_set_second_colour", "text_set_scale", "make_colour", "text_set_colour",
         "text_print_b", "make_colour", "text_set_colour", "text_print_b"});
    EXPECT_EQ(opsOf(block), expected);

    auto args = [&](const std::string& op) {
        std::vector<json> found;
        for (const json& e : block)
            if (e["op"] == op)
                found.push_back(e["args"]);
        return found;
    };
    EXPECT_EQ(args("text_set_font"), (std::vector<json>{{3}, {3}, {2}, {2}, {2}, {2}, {3}}));
    // Every style: pair 0 0, ending at x, flags 1 0 1.
    for (auto [op, value] : {std::pair<const char*, json>{"text_set_mode_pair", {0, 0}}, {"text_set_alignment", {2}},
                             {"text_set_flag_p", {1}}, {"text_set_flag_q", {0}}, {"text_set_flag_r", {1}}})
        EXPECT_EQ(args(op), std::vector<json>(7, value)) << op;
    EXPECT_EQ(args("text_set_scale"),
              (std::vector<json>{{0.75f, 1.5f}, {0.75f, 1.5f}, {0.9f, 1.8f}, {0.9f, 1.8f}, {0.75f, 1.5f}, {0.75f, 1.5f}, {0.7f, 1.4f}}));
    EXPECT_EQ(args("text_set_colour"), (std::vector<json>{{cashColour}, {cashColour}, {{20, 21, 22, 255}},
                                                          {{30, 31, 32, 255}}, {clipColour}, {totalColour}}));
    for (const json& second : args("text_set_second_colour"))
        EXPECT_EQ(second, json({black}));
    EXPECT_EQ(args("text_print_b")[0], json({1880, 56, "$42"}));
    EXPECT_EQ(args("text_print"), (std::vector<json>{{1880, 996, "Ganton"}, {1880, 950, "Infernus"}}));
    EXPECT_EQ(args("sprite_draw")[0][1], json({1816, 67, 1880, 131}));
    EXPECT_EQ(args("weapon_info")[0], json({24, 1}));
}

TEST(CashWindow, NamesNeedBothStateWords)
{
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 2, "clock": {"start_ms": 10000}, "keys": [{"key": 84, "from": 1, "to": 2}],
        "world": [ { "frame": 1, "zone_name": { "text": "Ganton", "states": [1, 0] },
                                 "vehicle_name": { "text": "Infernus", "states": [0, 1] } },
                   { "frame": 2, "zone_name": { "text": "Ganton", "states": [0, 1] },
                                 "vehicle_name": { "text": "Infernus", "states": [1, 0] } } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (int frame = 1; frame <= 2; ++frame) {
        EXPECT_EQ(argsOf(calls(r, frame), "text_print").size(), 0u) << frame;
        EXPECT_TRUE(cashShown(r, frame));
    }
}

} // namespace
