// The watermark and the F11 toggle, seen through the simulated host's trace.

#include <gtest/gtest.h>

#include <algorithm>

#include "sim_run.h"

namespace {

using nlohmann::json;

// The frame's own calls: from its frame processing on (frame 1 begins with the renderer
// start, which loads the textures).
std::vector<json> frameCalls(const SimRun& run, int frame)
{
    std::vector<json> calls;
    bool begun = false;
    for (const json& e : run.trace) {
        begun |= e["frame"] == frame && e["op"] == "frame_process";
        if (begun && e["frame"] == frame)
            calls.push_back(e);
    }
    return calls;
}

std::vector<json> pluginCalls(const SimRun& run, int frame)
{
    std::vector<json> calls;
    for (const json& e : frameCalls(run, frame))
        if (e["by"] == "plugin")
            calls.push_back(e);
    return calls;
}

std::vector<json> printsIn(const SimRun& run, int frame)
{
    std::vector<json> prints;
    for (const json& e : pluginCalls(run, frame))
        if (e["op"] == "text_print")
            prints.push_back(e["args"]);
    return prints;
}

std::vector<std::string> helpMessages(const SimRun& run)
{
    std::vector<std::string> texts;
    for (const json& e : run.calls("show_help_message"))
        texts.push_back(e["args"][0]);
    return texts;
}

// Runs the library with these settings over a scenario.
SimRun runScenario(const TempDir& dir, const std::string& settings, const std::string& scenario)
{
    writeSettings(dir, settings);
    return runSim(dir, {"--scenario", dir.write("scenario.json", scenario)});
}

const char hotKeyOn[] = "bEnable = 1\nbEnableHotKey = 1\n";

TEST(Watermark, DrawnAtBothSitesInTheTextStateAtFullHd)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\n");
    SimRun run = runSim(dir, {"--frames", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    std::vector<std::string> ops;
    for (const json& e : frameCalls(run, 1))
        ops.push_back(e["op"]);
    const std::vector<std::string> watermark = {
        "text_set_mode_pair", "text_set_alignment", "text_set_flag_p", "text_set_flag_q", "make_colour",
        "text_set_colour", "text_set_font", "text_set_flag_r", "text_set_scale", "text_print", "text_print",
        "text_print", "text_print", "make_colour", "make_rect", "fill_rect", "text_print", "text_print"};
    // From the drawing call on: what the host's HUD and radar stages do before it is theirs.
    ops.erase(ops.begin(), std::find(ops.begin(), ops.end(), "draw_overlay"));
    std::vector<std::string> expected = {"draw_overlay"};
    expected.insert(expected.end(), watermark.begin(), watermark.end());
    expected.push_back("draw_tail");
    expected.insert(expected.end(), watermark.begin(), watermark.end());
    EXPECT_EQ(ops, expected);

    std::vector<json> calls = pluginCalls(run, 1);
    calls.erase(calls.begin(), std::find_if(calls.begin(), calls.end(),
                                            [](const json& e) { return e["op"] == "draw_overlay"; }));
    ASSERT_EQ(calls[0]["op"], "draw_overlay"); // the plug-in's dispatcher calls the host function
    calls.erase(calls.begin());
    EXPECT_EQ(calls[0]["args"], json::parse("[0,0]"));
    EXPECT_EQ(calls[1]["args"], json::parse("[2]"));
    EXPECT_EQ(calls[5]["args"], json::parse("[[255,255,255,55]]"));
    EXPECT_EQ(calls[6]["args"], json::parse("[1]"));
    EXPECT_EQ(calls[8]["args"], json::parse("[0.5,1.100000023841858]"));

    const json prints = json::parse(R"([[1816,0,"Kell Hud"],[1848,0,"v1.3"],[1865,0,"b"],[1875,0,"y"],
                                        [1902,0,"Q"],[1915,0,"Z"]])");
    std::vector<json> printed = printsIn(run, 1);
    ASSERT_EQ(printed.size(), 12u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(printed[i], prints[i]);
        EXPECT_EQ(printed[i + 6], prints[i]);
    }
    auto fills = run.calls("fill_rect");
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0]["args"], json::parse("[[1883,17,1891,20],[255,255,255,55]]"));
}

TEST(Watermark, PositionsTruncateSeparatelyOnSmallerScreens)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\n");
    SimRun run = runSim(dir, {"--size", "1280x720"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<json> printed = printsIn(run, 1);
    ASSERT_EQ(printed.size(), 12u);
    EXPECT_EQ(printed[0], json::parse(R"([1211,0,"Kell Hud"])")); // 104 * 720 / 1080 = 69.33
    EXPECT_EQ(printed[5], json::parse(R"([1277,0,"Z"])"));
    // Left 1280 - 24, top 11, then 5 and 2 whole pixels added: 11 + 2, not 20 * 2/3.
    EXPECT_EQ(run.calls("fill_rect")[0]["args"], json::parse("[[1256,11,1261,13],[255,255,255,55]]"));
}

TEST(Toggle, HoldingF11TogglesOncePerSecondOfHostTime)
{
    TempDir dir;
    // 1001 ms .. 4501 ms in steps of 100, F11 held throughout.
    SimRun run = runScenario(dir, hotKeyOn, R"({"frames": 36, "clock": {"start_ms": 1001, "step_ms": 100},
                                              "keys": [{"key": 122, "from": 1, "to": 36}]})");
    ASSERT_EQ(run.exitCode, 0) << run.err;

    auto messages = run.calls("show_help_message");
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0]["args"], json::parse(R"(["Kell Hud disabled",1,0,1])"));
    EXPECT_EQ(messages[1]["args"], json::parse(R"(["Kell Hud enabled",1,0,1])"));
    EXPECT_EQ(messages[0]["frame"], 1);  // 1001 > 0 + 1000
    EXPECT_EQ(messages[1]["frame"], 12); // 2101 > 1001 + 1000
    EXPECT_EQ(messages[2]["frame"], 23);
    EXPECT_EQ(messages[3]["frame"], 34);

    // The toggle runs in the frame processing, before the drawing of the same frame.
    EXPECT_TRUE(printsIn(run, 1).empty());
    EXPECT_TRUE(printsIn(run, 11).empty());
    EXPECT_EQ(printsIn(run, 12).size(), 12u);
    EXPECT_TRUE(printsIn(run, 23).empty());
}

TEST(Toggle, DebounceIsStrictlyMoreThanOneSecond)
{
    TempDir dir;
    SimRun run = runScenario(dir, hotKeyOn, R"({"frames": 5, "clock": {"start_ms": 1000, "step_ms": 0},
                                              "steps": [{"frame": 2, "ms": 1}, {"frame": 3, "ms": 1000},
                                                        {"frame": 4, "ms": 1}],
                                              "keys": [{"key": 122, "from": 1, "to": 5}]})");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto messages = run.calls("show_help_message");
    // 1000 is not past 0 + 1000; 1001 is; 2001 is not past 1001 + 1000; 2002 is. A clock
    // standing still in frame 5 toggles nothing more.
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0]["frame"], 2);
    EXPECT_EQ(messages[1]["frame"], 4);
}

std::vector<int> toggleFrames(const SimRun& run)
{
    std::vector<int> frames;
    for (const json& e : run.calls("show_help_message"))
        frames.push_back(e["frame"]);
    return frames;
}

TEST(Toggle, OnePressTogglesOnceHowEverLongTheClockRunsAfterIt)
{
    TempDir dir;
    // After the press the key is up but toggled, as Windows reports it.
    SimRun run = runScenario(dir, hotKeyOn, R"({"frames": 6, "clock": {"start_ms": 5000, "step_ms": 2000},
                                              "keys": [{"key": 122, "from": 1, "to": 1}]})");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(toggleFrames(run), std::vector<int>{1});
    EXPECT_EQ(helpMessages(run), std::vector<std::string>{"Kell Hud disabled"});
}

TEST(Toggle, DebounceHoldsAcrossTheHostClocksWrapAround)
{
    TempDir dir;
    // 1500 ms before the 32-bit clock wraps, in steps of 100, F11 held throughout.
    SimRun run = runScenario(dir, hotKeyOn, R"({"frames": 36, "clock": {"start_ms": 4294965796, "step_ms": 100},
                                              "keys": [{"key": 122, "from": 1, "to": 36}]})");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(toggleFrames(run), (std::vector<int>{1, 12, 23, 34}));
}

TEST(Toggle, WhileOffTheWatermarkSetsItsTextStateButPrintsNothing)
{
    TempDir dir;
    SimRun run = runScenario(dir, hotKeyOn, R"({"frames": 3, "clock": {"start_ms": 5000},
                                              "keys": [{"key": 122, "from": 1, "to": 1}]})");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(helpMessages(run), std::vector<std::string>{"Kell Hud disabled"});
    for (int frame = 1; frame <= 3; ++frame) {
        int scales = 0;
        for (const json& e : pluginCalls(run, frame)) {
            EXPECT_NE(e["op"], "text_print");
            EXPECT_NE(e["op"], "fill_rect");
            scales += e["op"] == "text_set_scale";
        }
        EXPECT_EQ(scales, 2) << frame;
    }
}

TEST(Toggle, WithoutTheHotKeySettingF11DoesNothing)
{
    TempDir dir;
    SimRun run = runScenario(dir, "bEnable = 1\n", R"({"frames": 2, "clock": {"start_ms": 5000},
                                                     "keys": [{"key": 122, "from": 1, "to": 2}]})");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(helpMessages(run).empty());
    EXPECT_EQ(printsIn(run, 2).size(), 12u);
}

} // namespace
