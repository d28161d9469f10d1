// The host's help box, run by the plug-in: the host's state machine over frames, read back
// from the host's own variables, and the message drawn in this style.

#include <gtest/gtest.h>

#include "scenes.h"

namespace {

using namespace help_scene;

// Each frame 50 ms (the host's step 2.5); frame 3 lasts 3900 ms.
const char stateMachine[] = R"({"frames": 24, "clock": {"start_ms": 1000, "step_ms": 50},
  "steps": [{"frame": 3, "ms": 3900}],
  "world": [{"frame": 1, "help": {"text": "Hello"}},
            {"frame": 14, "help": {"text": "Next one"}},
            {"frame": 16, "help": {"text": "Third"}}]})";

struct Expected {
    int state, elapsed, fade;
    json alpha; // the first text alpha of the frame; null: nothing drawn
};

TEST(HelpBox, KeepsTheHostsStateMachineOverFrames)
{
    TempDir dir;
    SimRun r = run(dir, stateMachine);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Shown for (1 line + 3) s, faded out by 2 per ms, idle; then a new message fades in
    // at once, and a message while one is shown waits for the old one to fade out.
    const Expected frames[] = {
        {1, 50, 0, 0},       {1, 100, 600, 255},  {1, 4000, 600, 255}, {1, 4050, 600, 255}, {3, 4100, 600, 255},
        {3, 4150, 500, 100}, {3, 4200, 400, 80},  {3, 4250, 300, 60},  {3, 4300, 200, 40},  {3, 4350, 100, 20},
        {3, 4400, 0, 0},     {0, 4450, 0, 0},     {0, 4450, 0, nullptr}, {1, 50, 0, 0},     {1, 100, 600, 255},
        {4, 55, 500, 100},   {4, 105, 400, 80},   {4, 155, 300, 60},   {4, 205, 200, 40},   {4, 255, 100, 20},
        {4, 305, 0, 0},      {2, 355, 0, 0},      {1, 405, 0, 0},      {1, 455, 600, 255}};
    for (int f = 1; f <= 24; ++f) {
        SCOPED_TRACE(f);
        const Expected& e = frames[f - 1];
        json state = helpState(r, f);
        ASSERT_TRUE(state.is_array());
        EXPECT_EQ(state[0], e.state);
        EXPECT_EQ(state[1], e.elapsed);
        EXPECT_EQ(state[2], e.fade);
        EXPECT_EQ(state[3], 4);
        EXPECT_EQ(state[6], true);
        std::vector<json> calls = helpCalls(r, f);
        std::vector<json> alphas = argsOf(calls, "text_set_alpha");
        if (e.alpha.is_null()) {
            EXPECT_TRUE(alphas.empty());
            continue;
        }
        ASSERT_EQ(alphas.size(), 2u);
        EXPECT_EQ(alphas[0][0], e.alpha);
        EXPECT_EQ(alphas[1][0], 255);
        // The box behind the text takes the same alpha.
        EXPECT_EQ(argsOf(calls, "text_set_box_colour"), (std::vector<json>{{{0, 0, 0, e.alpha}}}));
    }
    // The old message shows while it fades; the new one only after.
    EXPECT_EQ(helpState(r, 16)[4], "Next one");
    EXPECT_EQ(helpState(r, 16)[5], "Third");
    EXPECT_EQ(helpState(r, 22)[4], "Third");
    EXPECT_EQ(argsOf(helpCalls(r, 23), "text_print"), (std::vector<json>{{38, 120, "Third"}}));

    // Counted and announced only when a message comes to an idle box.
    std::vector<json> counts, sounds;
    for (const json& e : r.trace) {
        if (e["op"] == "text_line_count")
            counts.push_back(e["frame"]);
        if (e["op"] == "play_sound")
            sounds.push_back(json{e["frame"], e["args"]});
    }
    EXPECT_EQ(counts, (std::vector<json>{1, 14}));
    EXPECT_EQ(sounds, (std::vector<json>{{1, {32, 0, 1}}, {14, {32, 0, 1}}}));
    EXPECT_EQ(countOf(r, "play_sound"), 2); // both the plug-in's

    // A new message: measured in the help text's style, then drawn.
    std::vector<json> first = helpCalls(r, 1);
    EXPECT_EQ(opsOf(first),
              (std::vector<std::string>{
                  "text_equal", "text_set_alignment", "text_set_flag_q", "text_set_width_c", "text_set_font",
                  "text_set_mode_pair", "text_set_flag_r", "make_colour", "text_set_second_colour", "make_colour",
                  "text_set_colour", "text_line_count", "text_set_width_c", "play_sound", "text_set_alpha",
                  "text_set_flag_p", "text_set_scale", "text_set_alignment", "text_set_flag_q", "text_set_width_c",
                  "text_set_font", "text_set_mode_pair", "text_set_flag_r", "make_colour", "text_set_box_colour",
                  "make_colour", "text_set_colour", "make_colour", "text_set_second_colour", "text_print",
                  "text_set_width_c", "text_set_alpha"}));
    EXPECT_EQ(argsOf(first, "text_set_width_c"), (std::vector<json>{{362}, {1920}, {458}, {1920}}));
    EXPECT_EQ(argsOf(first, "text_line_count"), (std::vector<json>{{34, 28, "Hello"}}));
    EXPECT_EQ(argsOf(first, "text_set_colour"), (std::vector<json>{{white}, {white}}));
    EXPECT_EQ(argsOf(first, "text_set_second_colour"), (std::vector<json>{{black}, {black}}));
    EXPECT_EQ(argsOf(first, "text_set_scale"), (std::vector<json>{{0.5, 1}}));
    EXPECT_EQ(argsOf(first, "text_set_mode_pair"), (std::vector<json>{{1, 1}, {1, 1}}));
    EXPECT_EQ(argsOf(first, "text_set_alignment"), (std::vector<json>{{1}, {1}}));
    EXPECT_EQ(argsOf(first, "text_print"), (std::vector<json>{{38, 120, "Hello"}}));

    // The host's own help-box routine no longer runs.
    EXPECT_EQ(countOf(r, "help_box_draw", "host"), 0);
}

// Quick and permanent messages, the hide and block flags, an empty message, the display
// switched off.
const char flags[] = R"({"frames": 12, "clock": {"start_ms": 1000, "step_ms": 50},
  "keys": [{"key": 122, "from": 11, "to": 11}],
  "world": [{"frame": 1, "help": {"text": "Q", "quick": true}},
            {"frame": 2, "help": {"text": "Q", "quick": true, "elapsed": 2990}},
            {"frame": 4, "help": {"text": "Q", "permanent": true, "state": 1, "elapsed": 100000}},
            {"frame": 5, "help": {"text": "Q"}},
            {"frame": 6, "help": {"text": "Q", "hide": true, "state": 1, "fade": 0, "elapsed": 0}},
            {"frame": 7, "help": {"text": "Q", "blocks": [true, false, false], "state": 1, "elapsed": 0}},
            {"frame": 8, "block": [0, 0, 1],
             "help": {"text": "Q", "state": 2, "fade": 0, "elapsed": 0, "box_width": 150, "box_offset": 50}},
            {"frame": 9, "block": [0, 0, 1], "help": {"text": "Q", "stat_id": 7, "state": 1, "elapsed": 0}},
            {"frame": 10, "block": [0, 0, 0], "help": {"text": "", "state": 3}},
            {"frame": 11, "help": {"text": "X", "state": 3, "fade": 300, "elapsed": 7}},
            {"frame": 12, "help": {"text": "", "state": 2}}]})";

TEST(HelpBox, FlagsOfTheHostDecideWhatShowsAndForHowLong)
{
    TempDir dir;
    SimRun r = run(dir, flags, "bEnable = 1\nbEnableHotKey = 1\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto words = [&](int f) {
        json s = helpState(r, f);
        return json{s[0], s[1], s[2]};
    };
    // Quick: gone after 3000 ms, though its lines would give it 4000.
    EXPECT_EQ(words(2), json({1, 3040, 600}));
    EXPECT_EQ(words(3), json({3, 3090, 600}));
    // Permanent: stays whatever the time; the same message without the flag then goes.
    EXPECT_EQ(words(4), json({1, 100050, 600}));
    EXPECT_EQ(words(5), json({3, 100100, 600}));
    // Hidden: the state moves on, but the timer stands and nothing is drawn.
    EXPECT_EQ(words(6), json({1, 0, 600}));
    EXPECT_TRUE(helpCalls(r, 6).size() == 1u) << "only the compare";
    // Blocked by the host: the alpha is set and put back, nothing printed.
    EXPECT_EQ(opsOf(helpCalls(r, 7)),
              (std::vector<std::string>{"text_equal", "text_set_alpha", "text_set_flag_p", "text_set_scale",
                                        "text_set_alpha"}));
    // The third HUD block flag holds a message fading in at alpha 170; the host's box
    // width and offset place it.
    EXPECT_EQ(words(8), json({2, 50, 0}));
    std::vector<json> held = helpCalls(r, 8);
    EXPECT_EQ(argsOf(held, "text_set_alpha"), (std::vector<json>{{170}, {255}}));
    EXPECT_EQ(argsOf(held, "text_set_box_colour"), (std::vector<json>{{{0, 0, 0, 170}}}));
    EXPECT_EQ(argsOf(held, "text_set_width_c"), (std::vector<json>{{192}, {1920}}));
    EXPECT_EQ(argsOf(held, "text_print"), (std::vector<json>{{38, 90, "Q"}}));
    // ... and a statistic message is not drawn under it.
    EXPECT_TRUE(argsOf(helpCalls(r, 9), "text_print").empty());
    EXPECT_TRUE(argsOf(helpCalls(r, 9), "text_lookup").empty());
    // An empty message puts the box back to idle at once.
    EXPECT_EQ(words(10), json({0, 50, 600}));
    EXPECT_TRUE(helpCalls(r, 10).empty());
    // Switched off: nothing changes, not even for an empty message.
    EXPECT_EQ(words(11), json({3, 7, 300}));
    EXPECT_EQ(words(12), json({2, 7, 300}));
    for (int f : {11, 12})
        for (const json& e : inFrame(r, f))
            EXPECT_NE(e["op"], "text_equal") << f;
}

const std::string longMessage(1000, 'x');

TEST(HelpBox, StatisticMessagesAndTheBoundsOfTheHostsStrings)
{
    TempDir dir;
    SimRun r = run(dir, R"({"frames": 15, "clock": {"start_ms": 1000, "step_ms": 50},
      "texts": {"STAT007": "Stamina", "STAT045": "Lung capacity"},
      "world": [{"frame": 1, "help": {"text": "+1", "stat_id": 10}},
                {"frame": 2, "help": {"text": "+1", "stat_id": 45}},
                {"frame": 3, "help": {"text": "+1", "stat_id": 225}},
                {"frame": 4, "help": {"text": "+1", "stat_id": -5}},
                {"frame": 5, "help": {"text": "+1", "stat_id": -2147483648}},
                {"frame": 6, "help": {"text": "+1", "stat_id": 2147483647}},
                {"frame": 7, "help": {"text": "-3", "stat_id": 7, "state": 0}},
                {"frame": 8, "help": {"text": ")" + longMessage + R"(", "state": 0}},
                {"frame": 10, "time_step": "nan", "help": {"text": "N", "state": 3, "fade": 300, "elapsed": 7}},
                {"frame": 11, "time_step": 1e30},
                {"frame": 13, "time_step": 2.5, "help": {"text": "N", "state": 2, "fade": -99}},
                {"frame": 14, "help": {"text": "+2", "stat_id": 100}},
                {"frame": 15, "time_step": 0, "help": {"text": "Zero", "state": 0}}]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::pair<int, const char*> keys[] = {{1, "STAT010"}, {2, "STAT045"}, {3, "STAT225"}, {4, "STAT00-5"},
                                                {5, "STAT00-21474836"}, {6, "STAT2147483647"}, {7, "STAT007"},
                                                {14, "STAT100"}};
    for (const auto& [f, key] : keys)
        EXPECT_EQ(argsOf(helpCalls(r, f), "text_lookup"), (std::vector<json>{{key}})) << f;

    // The name, then the change text beside its end at the help message's height.
    std::vector<json> stat = helpCalls(r, 2);
    EXPECT_EQ(opsOf(stat),
              (std::vector<std::string>{
                  "text_equal", "text_set_alpha", "text_set_flag_p", "text_set_scale", "text_set_alignment",
                  "text_set_flag_q", "text_set_width_c", "text_set_font", "text_set_mode_pair", "text_set_flag_r",
                  "make_colour", "text_set_box_colour", "make_colour", "text_set_colour", "make_colour",
                  "text_set_second_colour", "text_lookup", "text_width", "text_set_width_c", "text_print",
                  "make_colour", "text_set_colour", "text_print", "text_set_width_c", "text_set_alpha"}));
    // "Lung capacity" measures 13 x 0.5 x 10 = 65: it ends at 65 + 34 + 4.
    EXPECT_EQ(argsOf(stat, "text_set_width_c"), (std::vector<json>{{1920}, {164 + 103 + 4}, {1920}}));
    EXPECT_EQ(argsOf(stat, "text_print"), (std::vector<json>{{38, 120, "Lung capacity"}, {103 + 155, 30, "+1"}}));
    EXPECT_EQ(argsOf(stat, "text_set_colour"), (std::vector<json>{{white}, {white}}));
    // A falling value sits 5 units higher.
    EXPECT_EQ(argsOf(helpCalls(r, 7), "text_print"), (std::vector<json>{{38, 120, "Stamina"}, {73 + 155, 25, "-3"}}));

    // A message longer than the host's strings is cut to 399 characters, nothing is
    // written behind them, and it is shown once, not taken as new in every frame.
    for (int f = 1; f <= 9; ++f)
        EXPECT_EQ(helpState(r, f)[6], true) << f;
    json cut = helpState(r, 9);
    EXPECT_EQ(cut[0], 1);
    EXPECT_EQ(cut[4], std::string(399, 'x'));
    EXPECT_EQ(cut[5], std::string(399, 'x'));
    EXPECT_TRUE(argsOf(helpCalls(r, 9), "play_sound").empty());
    EXPECT_EQ(argsOf(helpCalls(r, 9), "text_print"), (std::vector<json>{{38, 120, std::string(399, 'x')}}));

    // A frame time the host cannot mean: NaN counts as no time, a huge one as the most
    // the host's words hold.
    auto words = [&](int f) {
        json s = helpState(r, f);
        return json{s[0], s[1], s[2]};
    };
    EXPECT_EQ(words(10), json({4, 0, 0}));
    EXPECT_EQ(words(11), json({2, 2147483647, 0}));
    EXPECT_EQ(words(12), json({1, 2147483647, 0}));
    // Fading in ends as soon as the fade passes 0, even by one; a frame without time
    // leaves it fading in.
    EXPECT_EQ(helpState(r, 13)[0], 1);
    EXPECT_EQ(helpState(r, 13)[2], 0);
    EXPECT_EQ(words(15), json({2, 0, 0}));
}

} // namespace
