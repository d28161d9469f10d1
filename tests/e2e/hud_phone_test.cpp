// The cellphone with its clock and day, and the stats box that slides in on the same cue:
// the cue (pad on foot, or Tab), the slides, the texts, the rows and their bars.

#include <gtest/gtest.h>

#include "scenes.h"

namespace {

using hud_scene::calls;
using hud_scene::json;
using hud_scene::sprite;

// At 1920x1080 one unit is one pixel.
const char layout[] = R"(
HUD_CELLPHONE        150  200  110  220
HUD_CELLPHONE_CLOCK  56   126  0.45 1.1
HUD_CELLPHONE_DAY    60   154  0.5  1.3
HUD_STATS_BOX        40   320  280  325
)";

const char colours[] = R"(
HUD_COLOUR_BLACK           10 11 12 50
HUD_COLOUR_CELLPHONE_CLOCK 80 81 82 10
HUD_COLOUR_WHITE           90 91 92 20
HUD_COLOUR_PURE_WHITE      250 251 252 30
)";

SimRun run(const TempDir& dir, const std::string& settings, const std::string& scenario)
{
    hud_scene::writePluginFolder(dir, settings);
    dir.write("kell-hud/data/hud.dat", layout);
    dir.write("kell-hud/data/hudColor.dat", colours);
    return runSim(dir, {"--scenario", dir.write("scenario.json", scenario)});
}

const char phoneOnly[] = "bEnable = 1\nbCellphone = 1\n";
const char statsOnly[] = "bEnable = 1\nbStatsBox = 1\n";

// Frame 1 in a vehicle with the pad cue (no window), frame 2 on foot with it (open until
// 13000), then Tab held in the vehicle in frames 10 and 11 (open until 17500).
const char cueScenario[] = R"({"frames": 16, "clock": {"start_ms": 10000, "step_ms": 500},
    "keys": [{"key": 9, "from": 10, "to": 11}],
    "world": [ { "frame": 1, "players": [ { "vehicle": {} }, null ], "pad": { "phone": true } },
               { "frame": 2, "players": [ {}, null ], "pad": { "phone": true } },
               { "frame": 3, "pad": {} },
               { "frame": 10, "players": [ { "vehicle": {} }, null ] } ]})";

TEST(Cellphone, PadCueOnFootOrTabOpensItAndThePartsSlideUpAndBack)
{
    TempDir dir;
    SimRun r = run(dir, phoneOnly, cueScenario);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The cue is read from the first player's pad.
    for (const json& e : r.calls("pad_get"))
        EXPECT_EQ(e["args"], json({0}));
    // Each frame's slide follows whether the window was open in the frame before.
    const int phoneSlide[] = {0, 0, 30, 60, 90, 120, 150, 120, 90, 60, 90, 120, 150, 180, 200, 200};
    const int clockSlide[] = {0, 0, 30, 60, 90, 120, 126, 96, 66, 36, 66, 96, 126, 126, 126, 126};
    const int daySlide[] = {0, 0, 30, 60, 90, 120, 150, 120, 90, 60, 90, 120, 150, 154, 154, 154};
    for (int frame = 1; frame <= 16; ++frame) {
        SCOPED_TRACE(frame);
        std::vector<json> sprites = argsOf(calls(r, frame), "sprite_draw_xywh");
        ASSERT_EQ(sprites.size(), 1u);
        EXPECT_EQ(sprites[0], json({sprite("hud_cellphone"), 1770, 1080 - phoneSlide[frame - 1], 110, 220,
                                    {255, 255, 255, 255}}));
        std::vector<json> prints = argsOf(calls(r, frame), "text_print");
        ASSERT_EQ(prints.size(), 2u);
        EXPECT_EQ(prints[0][1], 1080 - daySlide[frame - 1]);
        EXPECT_EQ(prints[1][1], 1080 - clockSlide[frame - 1]);
    }
    // The pad is asked about the current character in every frame, the vehicle aside.
    std::vector<json> cues = argsOf(calls(r, 1), "pad_phone_cue");
    ASSERT_EQ(cues.size(), 1u);
    EXPECT_EQ(cues[0], json({0xCE0000}));
}

TEST(Cellphone, ClockAndDayInTheClocksStyle)
{
    TempDir dir;
    SimRun r = run(dir, phoneOnly, R"({"frames": 4, "texts": {"DAY_3": "Wed", "DAY_0": "Sun"},
        "world": [ { "frame": 1, "clock": { "hours": 7, "minutes": 5, "day": 3 } },
                   { "frame": 2, "clock": { "hours": 23, "minutes": 59, "day": 0 } },
                   { "frame": 3, "clock": { "hours": 255, "minutes": 255, "day": 255 } },
                   { "frame": 4, "players": [ null, null ], "clock": { "hours": 0, "minutes": 0, "day": 6 } } ]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const char* days[] = {"Wed", "Sun", "DAY_255", "DAY_6"};
    const char* clocks[] = {"07:05", "23:59", "255:255", "00:00"};
    for (int frame = 1; frame <= 4; ++frame) {
        SCOPED_TRACE(frame);
        EXPECT_EQ(argsOf(calls(r, frame), "text_print"),
                  (std::vector<json>{{1860, 1080, days[frame - 1]}, {1864, 1080, clocks[frame - 1]}}));
    }
    EXPECT_EQ(argsOf(calls(r, 3), "text_lookup"), std::vector<json>{{"DAY_255"}});
    // Without a character only the key could open the phone: the pad is not asked.
    EXPECT_TRUE(argsOf(calls(r, 4), "pad_phone_cue").empty());

    std::vector<json> frame = calls(r, 1);
    std::vector<std::string> ops = opsOf(frame);
    auto first = std::find(ops.begin(), ops.end(), "text_set_mode_pair");
    ASSERT_NE(first, ops.end());
    const std::vector<std::string> expected = {
        "text_set_mode_pair", "text_set_alignment", "text_set_flag_p", "text_set_flag_q", "text_set_font",
        "text_set_flag_r", "text_set_scale", "make_colour", "text_set_colour", "make_colour",
        "text_set_second_colour", "text_lookup", "text_print", "text_print"};
    EXPECT_EQ(std::vector<std::string>(first, first + static_cast<long>(expected.size())), expected);
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_mode_pair")[0], json({0, 0}));
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_alignment")[0], json({2}));
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_flag_p")[0], json({1}));
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_flag_q")[0], json({0}));
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_font")[0], json({1}));
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_flag_r")[0], json({0}));
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_scale")[0], json({0.45f, 1.1f}));
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_colour")[0], json({{80, 81, 82, 255}}));
    EXPECT_EQ(argsOf(calls(r, 1), "text_set_second_colour")[0], json({{10, 11, 12, 255}}));
}

// ---- Stats box ------------------------------------------------------------------------

// Tab held throughout: the panel slides -30, 0, 30, then rests at 40 from frame 4.
const char statsScenario[] = R"({"frames": 7, "render_states": {"7": 5, "12": 9},
    "keys": [{"key": 9, "from": 1, "to": 7}],
    "texts": {"STAT068": "Stamina", "CURWSKL": "Weapon"},
    "world": [ { "frame": 1,
                 "players": [ { "weapon": { "slot": 2, "type": 24 } }, null ],
                 "weapon_info": [ { "type": 24, "model": 348 } ],
                 "stats": { "64": 1000, "225": 500, "71": 250, "22": 0, "23": "nan", "21": 3e38, "25": -50 } },
               { "frame": 5, "weapon_info": [ { "type": 24, "model": 336 } ] },
               { "frame": 6, "weapon_info": [ { "type": 24, "model": 2147483647 } ] },
               { "frame": 7, "players": [ null, null ] } ]})";

const char* const labels[] = {"Stamina", "STAT225", "Weapon", "STAT022", "STAT023", "STAT021", "STAT025"};

TEST(StatsBox, RowsLabelsAndBarsFromTheStatistics)
{
    TempDir dir;
    SimRun r = run(dir, statsOnly, statsScenario);
    ASSERT_EQ(r.exitCode, 0) << r.err;

    // The panel follows the slide.
    const int slide[] = {-30, 0, 30, 40};
    for (int frame = 1; frame <= 4; ++frame) {
        std::vector<json> rects = argsOf(calls(r, frame), "make_rect");
        ASSERT_FALSE(rects.empty());
        EXPECT_EQ(rects[0], json({{slide[frame - 1], 760, slide[frame - 1] + 280, 435}})) << frame;
    }

    // Labels 45 apart from 445, bars from 470, all at x = 50.
    std::vector<json> prints = argsOf(calls(r, 4), "text_print");
    ASSERT_EQ(prints.size(), 7u);
    for (int row = 0; row < 7; ++row)
        EXPECT_EQ(prints[static_cast<size_t>(row)], json({50, 445 + 45 * row, labels[row]})) << row;
    EXPECT_EQ(argsOf(calls(r, 4), "text_set_alignment"), std::vector<json>{{1}});
    EXPECT_EQ(argsOf(calls(r, 4), "text_set_font"), std::vector<json>{{1}});
    EXPECT_EQ(argsOf(calls(r, 4), "text_set_flag_r"), std::vector<json>{{1}});
    EXPECT_EQ(argsOf(calls(r, 4), "text_set_colour"), (std::vector<json>{{{250, 251, 252, 255}}}));
    EXPECT_EQ(argsOf(calls(r, 4), "text_set_scale"), (std::vector<json>{{0.5f, 1.2f}}));
    EXPECT_EQ(argsOf(calls(r, 4), "stat_value"), (std::vector<json>{{64}, {225}, {71}, {22}, {23}, {21}, {25}}));

    // Each bar 260 x 12 at x 50 through the plug-in's bar: 100 %, 50 %, the pistol's 25 %,
    // 0 %, NaN and below 0 (background only), a huge value (full).
    const json white = {90, 91, 92, 255}, half = {90, 91, 92, 127};
    auto background = [&](int y) { return json({{49.5, y - 0.5, 309.5, y + 9}, half}); };
    auto fill = [&](int y, double end) { return json({{49.5, y - 0.5, end, y + 9}, white}); };
    const std::vector<json> expected = {
        {{40, 760, 320, 435}, {0, 0, 0, 100}}, // the panel
        fill(470, 309.5),
        background(515), fill(515, 179.5),
        background(560), fill(560, 114.5),
        background(605), background(650), fill(695, 309.5), background(740)};
    EXPECT_EQ(argsOf(calls(r, 4), "fill_rect"), expected);
    // The host's own routine does not run: every bar goes to the plug-in's.
    EXPECT_TRUE(r.calls("progress_bar").empty());
}

TEST(StatsBox, WeaponWithoutSkillOrNoCharacterFadesRowThree)
{
    TempDir dir;
    SimRun r = run(dir, statsOnly, statsScenario);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Row 3's bar at y 560: the bat (336), a model far outside the table, no character.
    for (int frame = 5; frame <= 7; ++frame) {
        SCOPED_TRACE(frame);
        std::vector<json> fills = argsOf(calls(r, frame), "fill_rect");
        ASSERT_EQ(fills.size(), 9u);
        EXPECT_EQ(fills[4], json({{49.5, 559.5, 309.5, 569}, {90, 91, 92, 25}}));
        EXPECT_EQ(argsOf(calls(r, frame), "stat_value"), (std::vector<json>{{64}, {225}, {22}, {23}, {21}, {25}}));
    }
}

TEST(StatsBox, PanelSwitchesRenderStatesSevenAndTwelveAroundItsFill)
{
    TempDir dir;
    SimRun r = run(dir, statsOnly, statsScenario);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<json> frame = calls(r, 4);
    std::vector<json> around;
    for (const json& e : frame) {
        const std::string op = e["op"];
        if (op.rfind("render_state_", 0) == 0 || op == "fill_rect")
            around.push_back(json({op, e["args"]}));
        if (op == "fill_rect")
            break;
    }
    const std::vector<json> expected = {{"render_state_get", {7}},    {"render_state_set", {7, 2}},
                                        {"render_state_get", {12}},   {"render_state_set", {12, 1}},
                                        {"fill_rect", {{40, 760, 320, 435}, {0, 0, 0, 100}}}};
    EXPECT_EQ(around, expected);
    std::vector<json> after;
    bool filled = false;
    for (const json& e : frame) {
        if (filled && e["op"].get<std::string>().rfind("render_state_", 0) == 0)
            after.push_back(e["args"]);
        filled |= e["op"] == "fill_rect";
        if (filled && e["op"] == "text_set_alignment")
            break;
    }
    EXPECT_EQ(after, (std::vector<json>{{7, 5}, {12, 9}}));
}

TEST(StatsBox, TabOpensThePhoneAndThePanelTogether)
{
    TempDir dir;
    SimRun r = run(dir, "bEnable = 1\nbStatsBox = 1\nbCellphone = 1\n",
                   R"({"frames": 3, "clock": {"start_ms": 10000, "step_ms": 100}, "keys": [{"key": 9, "from": 1, "to": 1}],
                       "world": [{"frame": 1, "host_bars": [{"percent": 75, "show_text": 1, "frame": 1}]}]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Phone, panel, rows and a host bar with its text: nothing allocated per frame.
    EXPECT_NE(r.out.find("heap allocations by the plug-in after start-up: 0\n"), std::string::npos) << r.out;
    for (int frame = 2; frame <= 3; ++frame) {
        SCOPED_TRACE(frame);
        // The panel moves in (from -30) while the phone rises.
        EXPECT_EQ(argsOf(calls(r, frame), "make_rect")[0][0][0], frame == 2 ? 0 : 30);
        EXPECT_EQ(argsOf(calls(r, frame), "sprite_draw_xywh")[0][2], 1080 - 30 * (frame - 1));
    }
    // The stats box comes before the phone in a frame.
    std::vector<std::string> ops = opsOf(calls(r, 1));
    auto panel = std::find(ops.begin(), ops.end(), "fill_rect");
    auto phone = std::find(ops.begin(), ops.end(), "sprite_draw_xywh");
    EXPECT_LT(panel - ops.begin(), phone - ops.begin());
}

} // namespace
