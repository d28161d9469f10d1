// The zone and vehicle names the host shows itself: its colour and print calls reach the
// plug-in, which keeps the host's fade and gives its own colours, style and place.

#include <gtest/gtest.h>

#include "scenes.h"

namespace {

using namespace hud_scene;

const char names[] = R"("world": [ { "frame": 1,
    "zone_name": { "text": "Ganton", "shown": true, "colour": [255, 255, 255, 200] },
    "vehicle_name": { "text": "Infernus", "shown": true, "colour": [9, 9, 9, 120] } } ])";

const std::vector<std::string> nameOps = {
    "make_colour", "text_set_colour", "make_colour", "text_set_second_colour", "text_set_mode_pair",
    "text_set_alignment", "text_set_flag_p", "text_set_flag_q", "text_set_font", "text_set_flag_r",
    "text_set_scale"};

// The calls after the HUD routine's own: the host's name routines.
std::vector<json> afterHud(const SimRun& r, int frame)
{
    std::vector<json> all = calls(r, frame), after;
    bool cues = false;
    for (const json& e : all) {
        if (cues && e["op"] != "pad_ammo_cue" && e["op"] != "pad_weapon_cue_b")
            after.push_back(e);
        cues = cues || e["op"] == "pad_weapon_cue_a";
    }
    return after;
}

TEST(AreaNames, HostRoutinesPrintInThisStyleWithTheHostsFade)
{
    TempDir dir;
    SimRun r = run(dir, std::string(R"({"clock": {"start_ms": 10000}, )") + names + "}");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<json> after = afterHud(r, 1);
    std::vector<std::string> expected = nameOps;
    expected.push_back("text_print");
    expected.insert(expected.end(), nameOps.begin(), nameOps.end());
    expected.push_back("text_print");
    EXPECT_EQ(opsOf(after), expected);

    EXPECT_EQ(argsOf(after, "make_colour"),
              (std::vector<json>{{20, 21, 22, 200}, {10, 11, 12, 200}, {30, 31, 32, 120}, {10, 11, 12, 120}}));
    EXPECT_EQ(argsOf(after, "text_set_font"), (std::vector<json>{{2}, {2}}));
    EXPECT_EQ(argsOf(after, "text_set_scale"), (std::vector<json>{{0.9f, 1.8f}, {0.75f, 1.5f}}));
    // From the bottom-right corner, without the player information offset.
    EXPECT_EQ(argsOf(after, "text_print"), (std::vector<json>{{1880, 996, "Ganton"}, {1880, 950, "Infernus"}}));

    // The host's own colour and print calls were replaced.
    for (const json& e : r.trace)
        if (e["by"] == "host") {
            EXPECT_NE(e["op"], "text_print");
            EXPECT_NE(e["op"], "text_set_colour");
        }
}

TEST(AreaNames, PlacedFromTheCornerOnASmallerScreen)
{
    TempDir dir;
    SimRun r = run(dir, std::string(R"({"screen": [1280, 720], "clock": {"start_ms": 10000}, )") + names + "}");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // 1280 - trunc(40 * 2/3), 720 - trunc(84 * 2/3) and 720 - trunc(130 * 2/3).
    EXPECT_EQ(argsOf(afterHud(r, 1), "text_print"), (std::vector<json>{{1254, 664, "Ganton"}, {1254, 634, "Infernus"}}));
}

TEST(AreaNames, WhileDisabledTheStyleIsSetButNothingPrints)
{
    TempDir dir;
    SimRun r = run(dir, std::string(R"({"frames": 2, "clock": {"start_ms": 10000}, "keys": [{"key": 122, "from": 1}], )") +
                            names + "}",
                   "bEnable = 1\nbEnableHotKey = 1\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (int frame = 1; frame <= 2; ++frame) {
        std::vector<json> all = calls(r, frame);
        EXPECT_TRUE(argsOf(all, "text_print").empty()) << frame;
        EXPECT_EQ(argsOf(all, "text_set_font"), (std::vector<json>{{2}, {2}})) << frame;
        EXPECT_EQ(argsOf(all, "text_set_colour").size(), 2u) << frame;
    }
}

} // namespace
