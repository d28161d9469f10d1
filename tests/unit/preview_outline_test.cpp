// --outline's boxes against what the plug-in really draws: the shipped layout in the preview
// scenario (everything shown, both players), one run per screen shape, each row an element
// found in the last frame by its texture or its text.

#include <gtest/gtest.h>

#include <algorithm>

#include "preview/outline.h"
#include "preview/text.h"
#include "sim_run.h"

namespace {

using nlohmann::json;

struct Drawn {
    std::string what; // the texture's name or the text
    float left, top, right, bottom;
};

// The sprites and texts the plug-in drew in `frame`, where the preview draws them. The text
// state is replayed from the run's start: it stays from frame to frame.
std::vector<Drawn> drawnIn(const SimRun& run, int frame)
{
    sim::TextState text;
    std::vector<Drawn> drawn;
    for (const json& e : run.trace) {
        const std::string op = e["op"];
        const json& a = e["args"];
        if (op == "text_set_scale")
            text.scale = {a[0], a[1]};
        else if (op == "text_set_font")
            text.font = a[0];
        else if (op == "text_set_alignment")
            text.alignment = a[0];
        else if (op == "text_set_flag_p")
            text.flagP = a[0];
        else if (op == "text_set_width_a")
            text.widthA = a[0];
        else if (op == "text_set_width_b")
            text.widthB = a[0];
        else if (op == "text_set_width_c")
            text.widthC = a[0];
        if (e["frame"] != frame || e["by"] != "plugin")
            continue;
        if (op == "text_print" || op == "text_print_b") {
            const std::string said = a[2];
            const sim::preview::TextLayout layout =
                sim::preview::layoutText(text, a[0], a[1], said, op == "text_print_b");
            Drawn d{said, 1e9f, 1e9f, -1e9f, -1e9f};
            for (const sim::preview::TextLine& line : layout.lines) {
                d.left = std::min(d.left, line.left);
                d.right = std::max(d.right, line.left + line.width);
                d.top = std::min(d.top, line.top);
                d.bottom = std::max(d.bottom, line.top + layout.lineHeight);
            }
            drawn.push_back(d);
        } else if (op == "sprite_draw" && a[0].is_string()) {
            // A mirrored sprite gives its right side first.
            const float l = a[1][0], t = a[1][1], r = a[1][2], b = a[1][3];
            drawn.push_back({a[0], std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)});
        } else if (op == "sprite_draw_xywh" && a[0].is_string()) {
            drawn.push_back({a[0], a[1], a[2], a[1].get<float>() + a[3].get<float>(),
                             a[2].get<float>() + a[4].get<float>()});
        }
    }
    return drawn;
}

TEST(PreviewOutline, WhatThePluginDrawsLiesInsideTheBoxOfItsKey)
{
    std::string error;
    ASSERT_TRUE(sim::preview::openTextFonts(error)) << error;
    const std::string scenario = std::string(KELLHUD_ASSETS_DIR) + "/../docs/examples/preview.json";
    const HudLayout layout = sim::preview::layoutOfFile(std::string(KELLHUD_ASSETS_DIR) + "/kell-hud/data/hud.dat");
    struct Row {
        const char* key;
        const char* what; // a texture or a text
        int nth;          // which of the frame's draws of it; -1: every one
    };
    const Row rows[] = {
        // The second player's frame is drawn first.
        {"HUD_RADAR_SPRITES", "radarringfront", 1},
        {"HUD_SECOND_RADAR_SPRITES", "radarringfront", 0},
        // The icon itself, below the stars, the cash and the counter.
        {"HUD_WEAPON_ICON", "m4", -1},
        {"HUD_AMMO", "7", -1},
        {"HUD_AMMO", "243", -1},
        {"HUD_CASH", "$12345", -1},
        {"HUD_SECOND_WEAPON_ICON", "desert_eagle", -1},
        {"HUD_SECOND_AMMO", "5", -1},
        {"HUD_SECOND_AMMO", "16", -1},
        {"HUD_ZONE_NAME", "Market", -1},
        {"HUD_VEHICLE_NAME", "Sabre", -1},
        {"HUD_MISSION_TEXT", "Mission passed!", -1},
        {"HUD_SUBTITLES", "Get in the car.", -1},
        {"HUD_CELLPHONE", "hud_cellphone", -1},
        {"HUD_CELLPHONE_CLOCK", "07:05", -1},
        {"HUD_CELLPHONE_DAY", "Wed", -1},
        {"HUD_RADIO_HUD", "radio_playback", -1},
        {"HUD_HELP_MESSAGE", "+1", -1},
        {"HUD_STATS_BOX", "Sex appeal", -1},
    };
    // Text outlines and the font's own overhang may reach a pixel or two beyond.
    const float slack = 3;
    for (const char* size : {"1280x720", "1080x1920"}) {
        SCOPED_TRACE(size);
        TempDir dir;
        const SimRun run = runSim(dir, {"--plugin-dir", KELLHUD_ASSETS_DIR, "--scenario", scenario, "--size", size});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const int width = std::stoi(size), height = std::stoi(std::string(size).substr(std::string(size).find('x') + 1));
        const std::vector<sim::preview::OutlineBox> boxes = sim::preview::outlineBoxes(layout, width, height);
        const std::vector<Drawn> drawn = drawnIn(run, 32);
        for (const Row& row : rows) {
            const auto box = std::find_if(boxes.begin(), boxes.end(), [&](const auto& b) { return b.key == row.key; });
            ASSERT_NE(box, boxes.end()) << row.key;
            int seen = 0, checked = 0;
            for (const Drawn& d : drawn) {
                if (d.what != row.what || (row.nth >= 0 && seen++ != row.nth))
                    continue;
                ++checked;
                EXPECT_TRUE(d.left >= box->left - slack && d.top >= box->top - slack &&
                            d.right <= box->right + slack && d.bottom <= box->bottom + slack)
                    << row.key << ": " << row.what << " drawn at " << d.left << "," << d.top << " to " << d.right
                    << "," << d.bottom << ", its box " << box->left << "," << box->top << " to " << box->right << ","
                    << box->bottom;
            }
            EXPECT_GT(checked, 0) << row.key << ": " << row.what << " is not drawn in the last frame";
        }
    }
}

} // namespace
