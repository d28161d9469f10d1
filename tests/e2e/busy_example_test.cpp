// The example scenario that ships with the shipped settings: every element of the HUD shows
// in it, and nothing the host's frame reaches allocates.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "sim_run.h"

namespace {

const std::string busyScenario = std::string(KELLHUD_ASSETS_DIR) + "/../docs/examples/busy.json";

TEST(BusyExample, ShowsEveryElementWithoutAllocatingPerFrame)
{
    TempDir dir;
    SimRun r = runSim(dir, {"--plugin-dir", KELLHUD_ASSETS_DIR, "--scenario", busyScenario, "--frames", "45"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("heap allocations by the plug-in after start-up: 0\n"), std::string::npos) << r.out;

    std::set<std::string> texts, sprites, ops;
    for (const nlohmann::json& e : r.trace) {
        if (e["by"] != "plugin")
            continue;
        std::string op = e["op"];
        ops.insert(op);
        if ((op == "text_print" || op == "text_print_b") && e["args"][2].is_string())
            texts.insert(e["args"][2].get<std::string>());
        if (op.rfind("sprite_draw", 0) == 0 && e["args"][0].is_string())
            sprites.insert(e["args"][0].get<std::string>());
    }
    // Phone (day and clock), stats box labels, a host bar's percentage, the help box's
    // statistic message, the subtitle and the mission text.
    for (const char* text : {"Wed", "07:05", "Stamina", "Sex appeal", "62%", "Fat", "+1", "Get in the car.", "Mission passed!", "Market", "Kell Hud"})
        EXPECT_EQ(texts.count(text), 1u) << text;
    // Cellphone, crosshair, the radio strip, stars, weapon icon, the radar's rings.
    for (const char* sprite : {"hud_cellphone", "hud_crosshair", "radio_playback", "star", "m4", "radarringfront"})
        EXPECT_EQ(sprites.count(sprite), 1u) << sprite;
    // The box behind boxed texts, the route band, and the markers of the marker set.
    for (const char* op : {"fill_rect_4", "im2d_draw", "marker_draw"})
        EXPECT_EQ(ops.count(op), 1u) << op;
}

} // namespace
