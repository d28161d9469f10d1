// The progress bar: every bar the host draws reaches the plug-in's routine with the host's
// stack words, and is drawn as background, fill, second segment, frame and percentage.

#include <gtest/gtest.h>

#include "scenes.h"

namespace {

using hud_scene::json;

// Each bar at (100, 200), 200 x 20, fill colour alpha 200; the host's u16/u8/i8 words carry
// junk in their upper bytes.
const char bars[] = R"({"world": [ { "frame": 1, "host_bars": [
    { "x": 100, "y": 200, "width": 200, "height": 20, "percent": 0, "segment": 10,
      "colour1": [10, 20, 30, 200], "colour2": [40, 50, 60, 255] },
    { "x": 100, "y": 200, "width": 200, "height": 20, "percent": 50, "show_text": 1,
      "colour1": [10, 20, 30, 200], "colour2": [40, 50, 60, 255] },
    { "x": 100, "y": 200, "width": 200, "height": 20, "percent": 50.5, "show_text": 1, "frame": 1,
      "colour1": [10, 20, 30, 200], "colour2": [40, 50, 60, 255] },
    { "x": 100, "y": 200, "width": 200, "height": 20, "percent": 100, "segment": -5,
      "colour1": [10, 20, 30, 200], "colour2": [40, 50, 60, 255] },
    { "x": 100, "y": 200, "width": 200, "height": 20, "percent": 150, "segment": 120,
      "colour1": [10, 20, 30, 200], "colour2": [40, 50, 60, 255] },
    { "percent": "nan", "show_text": 1, "colour1": [1, 2, 3, 7] },
    { "percent": 3e9, "show_text": 1 },
    { "percent": "-inf", "show_text": 1 },
    { "percent": 2147483648, "show_text": 1 }
  ] } ]})";

SimRun runBars(const TempDir& dir, const std::string& settings)
{
    writeSettings(dir, settings);
    return runSim(dir, {"--scenario", dir.write("bars.json", bars)});
}

// The plug-in's calls of one operation in the HUD stage of frame 1.
std::vector<json> pluginArgs(const SimRun& r, const std::string& op) { return argsOf(hud_scene::calls(r, 1), op); }

TEST(ProgressBar, GeometryOfBackgroundFillSegmentAndFrame)
{
    TempDir dir;
    SimRun r = runBars(dir, "bEnable = 1\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.calls("progress_bar").empty());
    const json c1 = {10, 20, 30, 200}, c2 = {40, 50, 60, 255}, back = {10, 20, 30, 100};
    const json bg = {{99.5, 199.5, 299.5, 217}, back};
    auto fill = [&](double end) { return json({{99.5, 199.5, end, 217}, c1}); };
    const std::vector<json> expected = {
        // 0 %: the background only; the segment still reaches 20 px left of x.
        bg, {{79.5, 199.5, 99.5, 219.5}, c2},
        // 50 %
        bg, fill(199.5),
        // 50.5 % with a frame: 2 px round, its bottom inside the bar.
        {{97.5, 197.5, 301.5, 218.5}, {0, 0, 0, 255}}, bg, fill(200.5),
        // 100 %: no background; the negative segment draws nothing.
        fill(299.5),
        // 150 %: clamped to the width; the segment reaches back at most the width.
        fill(299.5), {{99.5, 199.5, 299.5, 219.5}, c2},
        // The defaults (0, 0, 100 x 10) with a NaN: the background only.
        {{-0.5, -0.5, 99.5, 7}, {1, 2, 3, 3}},
        // 3e9 % is full, -inf % is empty.
        {{-0.5, -0.5, 99.5, 7}, {255, 255, 255, 255}},
        {{-0.5, -0.5, 99.5, 7}, {255, 255, 255, 127}},
        {{-0.5, -0.5, 99.5, 7}, {255, 255, 255, 255}}};
    EXPECT_EQ(pluginArgs(r, "fill_rect"), expected);
}

TEST(ProgressBar, PercentageRidesOnTheFillsEndInBlackWithTheFillsAlpha)
{
    TempDir dir;
    SimRun r = runBars(dir, "bEnable = 1\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // 50 % starts 5 px after the fill's end, 50.5 % ends at it; NaN counts as 0 and the
    // values beyond the int range print its ends.
    std::vector<json> prints = pluginArgs(r, "text_print");
    ASSERT_EQ(prints.size(), 6u);
    EXPECT_EQ(prints[0], json({205, 200, "50%"}));
    EXPECT_EQ(prints[1], json({201, 200, "50%"}));
    EXPECT_EQ(prints[2], json({nullptr, 0, "0%"}));
    EXPECT_EQ(prints[3][2], "2147483647%");
    EXPECT_EQ(prints[4], json({nullptr, 0, "-2147483648%"}));
    EXPECT_EQ(prints[5][2], "2147483647%"); // 2^31 itself is already beyond an int
    EXPECT_EQ(pluginArgs(r, "text_set_alignment"), (std::vector<json>{{1}, {2}, {1}, {2}, {1}, {2}}));
    EXPECT_EQ(pluginArgs(r, "text_set_colour"),
              (std::vector<json>{{{0, 0, 0, 200}}, {{0, 0, 0, 200}}, {{0, 0, 0, 7}}, {{0, 0, 0, 255}},
                                 {{0, 0, 0, 255}}, {{0, 0, 0, 255}}}));
    EXPECT_EQ(pluginArgs(r, "text_set_scale")[0], json({0.7f, 1.0f}));
    EXPECT_EQ(pluginArgs(r, "text_set_scale")[2], json({0.35f, 0.5f}));
    EXPECT_EQ(pluginArgs(r, "text_set_width_c")[0], json({1920}));
    EXPECT_EQ(pluginArgs(r, "text_set_width_b")[0], json({0}));
    EXPECT_EQ(pluginArgs(r, "text_set_font")[0], json({1}));
    EXPECT_EQ(pluginArgs(r, "text_set_flag_r")[0], json({0}));
}

TEST(ProgressBar, WithoutThePluginTheHostsOwnBarRunsWithItsArguments)
{
    TempDir dir;
    SimRun r = runBars(dir, "bEnable = 0\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<json> drawn = r.calls("progress_bar");
    ASSERT_EQ(drawn.size(), 9u);
    EXPECT_EQ(drawn[0]["by"], "host");
    EXPECT_EQ(drawn[0]["args"], json({100, 200, 200, 20, 0, 10, 0, 0, {10, 20, 30, 200}, {40, 50, 60, 255}}));
    EXPECT_EQ(drawn[3]["args"], json({100, 200, 200, 20, 100, -5, 0, 0, {10, 20, 30, 200}, {40, 50, 60, 255}}));
    EXPECT_EQ(drawn[2]["args"][6], 1);
    EXPECT_EQ(drawn[2]["args"][7], 1);
}

} // namespace
