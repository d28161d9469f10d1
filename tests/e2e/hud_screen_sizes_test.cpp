// Where the cash window, the help box and the stats box land at screen sizes other than
// the reference 1920x1080, where one unit is no longer one pixel: each place is rounded
// to whole pixels once, from its sum in units.

#include <gtest/gtest.h>

#include "scenes.h"

namespace {

using namespace hud_scene;

// One run per size: the cash key and Tab held; a message in frame 1, a rising and a
// falling statistic in frames 2 and 3; the stats box at rest (x 40) in frame 4.
const char scenario[] = R"({"frames": 4, "clock": {"start_ms": 10000, "step_ms": 50},
  "keys": [{"key": 84, "from": 1, "to": 4}, {"key": 9, "from": 1, "to": 4}],
  "texts": {"STAT045": "Lung capacity", "STAT007": "Stamina"},
  "world": [ { "frame": 1, "help": { "text": "Hello" },
               "players": [ { "money": 42, "weapon": { "slot": 2, "type": 24, "clip": 7, "total": 50 } }, null ],
               "weapon_info": [ { "type": 24, "clip_size": 7, "model": 348 } ],
               "zone_name": { "text": "Ganton", "states": [1, 1] },
               "vehicle_name": { "text": "Infernus", "states": [1, 1] } },
             { "frame": 2, "help": { "text": "+1", "stat_id": 45, "state": 0 } },
             { "frame": 3, "help": { "text": "-3", "stat_id": 7, "state": 0 } } ]})";

struct Size {
    const char* size;
    // The cash window in frame 1: the cash, the zone and vehicle names, the weapon icon,
    // the ammo counter's two numbers (the reserve moved right of a one-digit clip).
    json cash, zone, vehicle, icon, ammoClip, ammoTotal;
    // The help box: the message counted and printed; the statistic's name, a rising and
    // a falling change text.
    json count, message, statName, risingY, fallingY;
    // The stats box: the panel, the x of its rows, the y of each label and each bar, the
    // bar's size.
    json panel;
    int rowX;
    std::vector<int> labelY, barY;
    int barWidth, barHeight;
};

const Size sizes[] = {
    {"1280x720", {1254, 37, "$42"}, {1254, 664, "Ganton"}, {1254, 634, "Infernus"}, {1211, 44, 1253, 86},
     {1254, 42}, {1227 + 10, 42},
     {22, 18, "Hello"}, {26, 80, "Hello"}, {26, 80, "Lung capacity"}, 20, 16,
     {26, 507, 212, 291}, 33, {297, 327, 357, 387, 417, 447, 477}, {314, 344, 374, 404, 434, 464, 494}, 173, 8},
    {"3840x2160", {3760, 112, "$42"}, {3760, 1992, "Ganton"}, {3760, 1900, "Infernus"}, {3632, 134, 3760, 262},
     {3760, 126}, {3680 + 32, 126},
     {68, 56, "Hello"}, {72, 240, "Hello"}, {72, 240, "Lung capacity"}, 60, 50,
     {80, 1520, 640, 870}, 100, {890, 980, 1070, 1160, 1250, 1340, 1430}, {940, 1030, 1120, 1210, 1300, 1390, 1480},
     520, 24},
};

// The help box's calls of a frame: after the HUD stage, up to the host's report.
std::vector<json> helpArgs(const SimRun& r, int frame, const std::string& op)
{
    std::vector<json> found;
    bool in = false;
    for (const json& e : r.trace) {
        if (e["frame"] != frame)
            continue;
        if (e["op"] == "help_box_state")
            break;
        in = in || (e["op"] == "text_equal" && e["by"] == "plugin");
        if (in && e["op"] == op)
            found.push_back(e["args"]);
    }
    return found;
}

json xy(const json& print) { return {print[0], print[1]}; }

TEST(ScreenSizes, CashWindowHelpBoxAndStatsBoxArePlacedInWholePixels)
{
    for (const Size& s : sizes) {
        SCOPED_TRACE(s.size);
        TempDir dir;
        writePluginFolder(dir, "bEnable = 1\nbStatsBox = 1\n");
        dir.write("kell-hud/data/hud.dat", std::string(layout) + "HUD_HELP_MESSAGE 40 30 0.5 1.0\n");
        SimRun r = runSim(dir, {"--scenario", dir.write("scenario.json", scenario), "--size", s.size});
        ASSERT_EQ(r.exitCode, 0) << r.err;

        std::vector<json> printsB = argsOf(calls(r, 1), "text_print_b");
        ASSERT_EQ(printsB.size(), 3u);
        EXPECT_EQ(printsB[0], s.cash);
        EXPECT_EQ(xy(printsB[1]), s.ammoClip);
        EXPECT_EQ(xy(printsB[2]), s.ammoTotal);
        std::vector<json> prints = argsOf(calls(r, 1), "text_print");
        ASSERT_EQ(prints.size(), 2u + 7); // the names, then the stats box's labels
        EXPECT_EQ(prints[0], s.zone);
        EXPECT_EQ(prints[1], s.vehicle);
        EXPECT_EQ(argsOf(calls(r, 1), "sprite_draw").at(0)[1], s.icon);

        EXPECT_EQ(helpArgs(r, 1, "text_line_count"), std::vector<json>{s.count});
        EXPECT_EQ(helpArgs(r, 1, "text_print"), std::vector<json>{s.message});
        std::vector<json> rising = helpArgs(r, 2, "text_print"), falling = helpArgs(r, 3, "text_print");
        ASSERT_EQ(rising.size(), 2u);
        ASSERT_EQ(falling.size(), 2u);
        EXPECT_EQ(rising[0], s.statName);
        EXPECT_EQ(rising[1][1], s.risingY);
        EXPECT_EQ(falling[1][1], s.fallingY);

        std::vector<json> rects = argsOf(calls(r, 4), "fill_rect");
        ASSERT_EQ(rects.size(), 1u + 7);
        EXPECT_EQ(rects[0][0], s.panel);
        std::vector<json> labels = argsOf(calls(r, 4), "text_print"); // the names, then the labels
        ASSERT_EQ(labels.size(), 2u + 7);
        for (size_t row = 0; row < 7; ++row) {
            SCOPED_TRACE(row);
            EXPECT_EQ(xy(labels[row + 2]), json({s.rowX, s.labelY[row]}));
            // Each statistic is 0: the bar's background alone.
            const double x = s.rowX - 0.5, y = s.barY[row] - 0.5;
            EXPECT_EQ(rects[row + 1][0], json({x, y, x + s.barWidth, s.barY[row] + s.barHeight - 3}));
        }
    }
}

} // namespace
