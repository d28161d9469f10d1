// Texts the host prints itself and the boxes it draws behind texts: its calls reach the
// plug-in, which gives them this style, place and box.

#include <gtest/gtest.h>

#include "scenes.h"

namespace {

using namespace help_scene;

const std::vector<std::string> subtitleOps = {
    "text_set_mode_pair", "text_set_alignment", "text_set_flag_p", "text_set_flag_q", "make_colour",
    "text_set_colour",    "text_set_font",      "text_set_flag_r", "text_set_width_a", "text_set_width_b",
    "text_set_scale"};
const std::vector<std::string> missionOps = {
    "text_set_mode_pair", "text_set_alignment", "text_set_flag_p", "text_set_flag_q", "text_set_font",
    "text_set_flag_r",    "text_set_scale",     "make_colour",     "text_set_colour"};

// The plug-in's last `n` calls of a frame before the host's drawing site.
std::vector<json> lastCalls(const SimRun& r, int frame, size_t n)
{
    std::vector<json> mine;
    for (const json& e : inFrame(r, frame)) {
        if (e["op"] == "draw_overlay")
            break;
        if (e["by"] == "plugin")
            mine.push_back(e);
    }
    return std::vector<json>(mine.end() - static_cast<long>(std::min(n, mine.size())), mine.end());
}

const char texts[] = R"({"frames": 2, "clock": {"start_ms": 10000}, "keys": [{"key": 122, "from": 2, "to": 2}],
  "world": [{"frame": 1, "subtitle": "Over here", "mission_text": "Mission passed"}]})";

TEST(HostTexts, SubtitlesAndMissionTextInThisStyle)
{
    TempDir dir;
    SimRun r = run(dir, std::string(R"({"screen": [1280, 720], )") + (texts + 1), "bEnable = 1\nbEnableHotKey = 1\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> expected = subtitleOps;
    expected.push_back("text_print_b");
    expected.insert(expected.end(), missionOps.begin(), missionOps.end());
    expected.push_back("text_print_b");
    std::vector<json> calls = lastCalls(r, 1, expected.size());
    EXPECT_EQ(opsOf(calls), expected);
    // The subtitle line ends at the screen width less two numbers of the radar sprites'
    // record, unscaled: 1280 - 200 - 30.
    EXPECT_EQ(argsOf(calls, "text_set_width_a"), (std::vector<json>{{1050}}));
    EXPECT_EQ(argsOf(calls, "text_set_width_b"), (std::vector<json>{{1050}}));
    // Subtitles from the bottom centre, the mission text from the bottom-right corner:
    // 640 - trunc(10 * 2/3), 720 - trunc(60 * 2/3); 1280 - trunc(100 * 2/3), 720 - trunc(200 * 2/3).
    EXPECT_EQ(argsOf(calls, "text_print_b"),
              (std::vector<json>{{634, 680, "Over here"}, {1214, 587, "Mission passed"}}));
    EXPECT_EQ(argsOf(calls, "text_set_alignment"), (std::vector<json>{{0}, {2}}));
    EXPECT_EQ(argsOf(calls, "text_set_font"), (std::vector<json>{{1}, {2}}));
    EXPECT_EQ(argsOf(calls, "text_set_flag_r"), (std::vector<json>{{1}, {0}}));
    // The mission colour at alpha 225, whatever the host's; no second colour.
    EXPECT_EQ(argsOf(calls, "text_set_colour"), (std::vector<json>{{white}, {{90, 91, 92, 225}}}));
    for (const json& e : r.trace) {
        EXPECT_NE(e["op"], "text_set_second_colour") << e;
        // The host's own prints at the two sites are replaced.
        if (e["by"] == "host") {
            EXPECT_NE(e["op"], "text_print");
        }
    }

    // Switched off: the style still, no print.
    std::vector<std::string> off = subtitleOps;
    off.insert(off.end(), missionOps.begin(), missionOps.end());
    std::vector<json> offCalls = lastCalls(r, 2, off.size());
    EXPECT_EQ(opsOf(offCalls), off);
    EXPECT_EQ(argsOf(inFrame(r, 2), "text_print_b").size(), 0u);
}

TEST(HostTexts, TextScalesFollowTheScreen)
{
    TempDir dir;
    SimRun r = run(dir, texts);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<json> calls = lastCalls(r, 1, subtitleOps.size() + missionOps.size() + 2);
    EXPECT_EQ(argsOf(calls, "text_set_scale"), (std::vector<json>{{0.75, 1.5}, {0.5, 1.25}}));
    EXPECT_EQ(argsOf(calls, "text_set_width_a"), (std::vector<json>{{1920 - 230}}));
    EXPECT_EQ(argsOf(calls, "text_print_b"), (std::vector<json>{{950, 1020, "Over here"}, {1820, 880, "Mission passed"}}));
}

// Whatever the host asks for, a black box of alpha 100, px(10) beyond the text's top and
// px(2) short of its bottom, drawn flat and blended with the host's states put back.
TEST(HostTexts, EveryBoxedTextGetsTheSameTranslucentBlackBox)
{
    for (bool enabled : {true, false}) {
        SCOPED_TRACE(enabled);
        TempDir dir;
        SimRun r = run(dir, R"({"screen": [1280, 720], "render_states": {"7": 3, "12": 7},
          "world": [{"frame": 1, "text_boxes": [
            {"site": "a", "rect": [100, 200, 300, 250], "colour": [255, 0, 0, 255]},
            {"site": "b", "rect": [10.5, 20, 30, 40], "colour": [1, 2, 3, 4]}]}]})",
                       enabled ? "bEnable = 1\n" : "bEnable = 0\n");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        std::vector<json> host;
        for (const json& e : inFrame(r, 1))
            if (e["op"] == "fill_rect" && e["by"] == "host")
                host.push_back(e["args"]);
        if (!enabled) {
            // The host's own box calls, with its arguments as pushed.
            EXPECT_EQ(host, (std::vector<json>{{{100, 200, 300, 250}, {255, 0, 0, 255}}, {{10.5, 20, 30, 40}, {1, 2, 3, 4}}}));
            continue;
        }
        EXPECT_TRUE(host.empty());
        const std::vector<std::string> boxOps = {"render_state_get", "render_state_set", "render_state_get",
                                                 "render_state_set", "make_rect", "make_colour", "fill_rect_4",
                                                 "render_state_set", "render_state_set"};
        std::vector<json> calls = lastCalls(r, 1, 2 * boxOps.size());
        std::vector<std::string> expected = boxOps;
        expected.insert(expected.end(), boxOps.begin(), boxOps.end());
        EXPECT_EQ(opsOf(calls), expected);
        EXPECT_EQ(argsOf(calls, "render_state_set"),
                  (std::vector<json>{{7, 2}, {12, 1}, {7, 3}, {12, 7}, {7, 2}, {12, 1}, {7, 3}, {12, 7}}));
        EXPECT_EQ(calls[0]["result"], 3);
        EXPECT_EQ(calls[2]["result"], 7);
        // At 720 lines px(2) is 1 and px(10) is 6.
        EXPECT_EQ(argsOf(calls, "make_rect"), (std::vector<json>{{{100, 249, 300, 206}}, {{10.5, 39, 30, 26}}}));
        const json grey = {0, 0, 0, 100};
        EXPECT_EQ(argsOf(calls, "fill_rect_4")[0], (json{{100, 249, 300, 206}, grey, grey, grey, grey}));
        EXPECT_EQ(argsOf(calls, "fill_rect_4")[1], (json{{10.5, 39, 30, 26}, grey, grey, grey, grey}));
    }
}

} // namespace
