// The radio station strip: which icons show where, when the window opens and closes, and
// what stops it; run through the host's own radio code each frame.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenes.h"

namespace {

using nlohmann::json;
using aim_scene::radioStrip;

const char* const icons[] = {"radio_playback", "radio_krose", "radio_kdst",   "radio_bounce", "radio_sfur",
                             "radio_rls",      "radio_radiox", "radio_csr",   "radio_kjah",   "radio_mastersounds",
                             "radio_wctr",     "radio_tplayer", "radio_off"};

// The strip of five icons by index, at HUD_RADIO_HUD 25 40 64 48: the centre slot starts at
// 960 - (275 - 25) = 710, the others 200 apart.
json strip(std::vector<int> slots)
{
    const int lefts[] = {510, 710, 910, 1110, 1310};
    const int alphas[] = {50, 100, 255, 100, 50};
    json out = json::array();
    for (size_t i = 0; i < 5; ++i)
        out.push_back({icons[slots[i]], {lefts[i], 40, lefts[i] + 64, 88}, {255, 255, 255, alphas[i]}});
    return out;
}

// 100 ms a frame from 10000, except frame 7 at 12399 and frame 8 at 12400.
const char scenario[] = R"({"frames": 20, "clock": {"start_ms": 10000, "step_ms": 100},
  "steps": [{"frame": 7, "ms": 1899}, {"frame": 8, "ms": 1}],
  "world": [
    {"frame": 1, "players": [{"vehicle": {}}], "radio": {"station": 1, "change": true}},
    {"frame": 2, "pad": {"cash": 1}},
    {"frame": 3, "players": [{}], "radio": {"station": 13, "step": 1, "change": true}},
    {"frame": 4, "players": [{"vehicle": {}}]},
    {"frame": 5, "radio": {"station": 0, "step": -1, "change": true}},
    {"frame": 10, "radio": {"station": 4, "change": true, "ready": false}},
    {"frame": 11, "radio": {"station": 4, "change": true}},
    {"frame": 12, "block": [0, 0, 1]},
    {"frame": 13, "block": [0, 0, 0], "radio": {"station": 2147483647, "step": 1, "change": true}},
    {"frame": 14, "radio": {"station": -2147483648, "step": -1, "change": true}},
    {"frame": 15, "radio": {"station": 3, "change": true}},
    {"frame": 17, "radio": {"station": 13, "step": 1, "change": true}},
    {"frame": 19, "radio": {"station": 12, "change": true}}
  ]})";

// Whether the cash window printed its amount in the frame (it ignores the pad's cash cue
// while the strip shows).
bool cashShown(const SimRun& run, int frame)
{
    for (const json& e : aim_scene::frameCalls(run, frame))
        if (e["op"] == "text_print_b" && e["args"][2].get<std::string>().rfind("$", 0) == 0)
            return true;
    return false;
}

TEST(RadioHud, StripWindowWrapAndWhatStopsIt)
{
    ASSERT_TRUE(texturesBuilt());
    TempDir dir;
    SimRun run = aim_scene::run(dir, scenario, "bEnable = 1\nbRadioHud = 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;

    // Each frame's strip is the one the frame before computed; the first from icons 0.
    const std::pair<int, json> strips[] = {
        {1, strip({0, 0, 0, 0, 0})},      // station 1 reported: the window opens
        {2, strip({11, 12, 0, 1, 2})},    // station 1 in the middle
        {3, json::array()},               // on foot: nothing, the change is left for later
        {4, strip({11, 12, 0, 1, 2})},    // 13 + 1 is station 1
        {5, strip({11, 12, 0, 1, 2})},    // 0 - 1 is station 12 ...
        {6, strip({9, 10, 11, 12, 0})},   // ... shown from the next frame
        {7, strip({9, 10, 11, 12, 0})},   // 1999 ms after the last change
        {8, json::array()},               // 2000 ms after it
        {9, json::array()},
        {10, json::array()},              // a change the host does not want shown (the
                                          // closed window still follows station 4)
        {11, strip({1, 2, 3, 4, 5})},     // shown once ready
        {12, json::array()},              // a block flag
        {13, strip({1, 2, 3, 4, 5})},     // a station past the end of the numbers ...
        {14, strip({1, 2, 3, 4, 5})},     // ... or before the start changes no icon
        {15, strip({1, 2, 3, 4, 5})},
        {16, strip({0, 1, 2, 3, 4})},
        {17, strip({0, 1, 2, 3, 4})},     // 13 + 1 wraps to station 1 ...
        {18, strip({11, 12, 0, 1, 2})},   // ... shown here
        {19, strip({11, 12, 0, 1, 2})},   // station 12 needs no wrap
        {20, strip({9, 10, 11, 12, 0})},
    };
    for (const auto& [frame, expected] : strips)
        EXPECT_EQ(json(radioStrip(run, frame)), expected) << "frame " << frame;

    // The strip hands the pad's cash cue to the radio while it shows, on foot as well (the
    // shown flag keeps its value there); from the frame after it closed the cue opens the
    // cash window.
    for (int frame : {2, 3, 4, 8})
        EXPECT_FALSE(cashShown(run, frame)) << frame;
    EXPECT_TRUE(cashShown(run, 9));

    // The change is taken up (and asked about) only where the routine goes on.
    std::vector<int> asked;
    for (const json& e : run.calls("radio_change_ready"))
        asked.push_back(e["frame"]);
    EXPECT_EQ(asked, (std::vector<int>{1, 4, 5, 10, 11, 13, 14, 15, 17, 19}));
    // The host's own routine never runs.
    EXPECT_TRUE(run.calls("radio_display").empty());
}

TEST(RadioHud, NothingWhileTheHudIsSwitchedOff)
{
    TempDir dir;
    SimRun run = aim_scene::run(dir, R"({"frames": 2,
        "clock": {"start_ms": 5000}, "keys": [{"key": 122, "from": 1, "to": 1}],
        "world": [{"frame": 1, "players": [{"vehicle": {}}], "radio": {"station": 1, "change": true}}]})",
                                "bEnable = 1\nbRadioHud = 1\nbEnableHotKey = 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (int frame : {1, 2})
        EXPECT_TRUE(radioStrip(run, frame).empty());
    EXPECT_TRUE(run.calls("radio_change_ready").empty());
    EXPECT_TRUE(run.calls("radio_display").empty());
}

} // namespace
