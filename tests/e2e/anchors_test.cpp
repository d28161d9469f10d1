// Anchor words in hud.dat: an anchored element (and what moves with it) lands where its
// edge says at any screen shape, moved whole; everything else stays where it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "scene.h"
#include "trace_query.h"
#include "txd/png.h"

namespace {

using nlohmann::json;

std::string unanchoredLayout()
{
    std::ifstream in(std::string(KELLHUD_FIXTURES_DIR) + "/hud-unanchored.dat", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The layout with `word` after the numbers of `key`'s line.
std::string withAnchor(std::string layout, const std::string& key, const std::string& word)
{
    const size_t line = layout.find("\n" + key + " ");
    const size_t end = layout.find('\n', line + 1);
    EXPECT_NE(line, std::string::npos) << key;
    return layout.insert(end, " " + word);
}

// At 3440x1440 (a unit is 4/3 of a pixel): the cash key and Tab held from frame 1, so the
// names, cash, ammo, stats box, phone, subtitle, mission text and help box all show.
const char scenario[] = R"({"screen": [3440, 1440], "frames": 10, "clock": {"start_ms": 10000, "step_ms": 50},
 "keys": [{"key": 84, "from": 1, "to": 10}, {"key": 9, "from": 1, "to": 10}],
 "world": [{"frame": 1, "subtitle": "Over here", "mission_text": "Mission passed", "help": {"text": "Hello"},
   "players": [{"money": 42, "health": 80, "armour": 40, "position": [0, 0, 0], "state_flags": 256, "breath": 600,
                "weapon": {"slot": 2, "type": 24, "clip": 7, "total": 50}}, null],
   "weapon_info": [{"type": 24, "clip_size": 7, "model": 348}],
   "zone_name": {"text": "Ganton", "states": [1, 1]}, "vehicle_name": {"text": "Infernus", "states": [1, 1]}}]})";

// `from` in the layout, written as `to`.
std::string replaced(std::string layout, const std::string& from, const std::string& to)
{
    const size_t at = layout.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? layout : layout.replace(at, from.size(), to);
}

// The ring is moved far right, so that at the left subtitles would wrap at 3440 - 2000 - 260;
// the radar offset (30, -15) is added to the map's centre its anchor measures; the
// subtitles sit 30 units left of the middle, the way their own edge measures.
std::string shifted(const std::string& layout)
{
    std::string text = replaced(layout, "HUD_RADAR_SPRITES            40 ", "HUD_RADAR_SPRITES 2000 ");
    text = replaced(text, "HUD_RADAR_OFFSET_X_Y         0      0", "HUD_RADAR_OFFSET_X_Y 30 -15");
    return replaced(text, "HUD_SUBTITLES                0 ", "HUD_SUBTITLES 30 ");
}

SimRun runLayout(const TempDir& dir, const std::string& layout)
{
    Scene scene;
    scene.settings = "bEnable = 1\nbStatsBox = 1\nbCellphone = 1\n";
    scene.layout = layout;
    scene.scenario = scenario;
    return runScene(dir, scene);
}

// A call of the plug-in's in one frame: the one printing `key`, or with "#n" the n-th call
// of `op` in the frame.
json callOf(const SimRun& r, int frame, const std::string& op, const std::string& key)
{
    const std::vector<json> calls = trace_query::argsOf(trace_query::byPlugin(trace_query::frameOf(r, frame)), op);
    if (key[0] == '#') {
        const size_t n = std::stoul(key.substr(1));
        return n < calls.size() ? calls[n] : json();
    }
    for (const json& args : calls)
        if (args.dump().find("\"" + key + "\"") != std::string::npos)
            return args;
    return json();
}

// The first x and y among a call's arguments (a rectangle's left and top).
std::pair<double, double> placeOf(const json& args)
{
    const json& numbers = args[0].is_array() ? args[0] : args[0].is_null() ? json::array({args[1], args[2]}) : args;
    return {numbers[0].get<double>(), numbers[1].get<double>()};
}

TEST(Anchors, AnchoredElementsMoveWholeWithTheirGroupAndTheRestStays)
{
    const std::string plain = shifted(unanchoredLayout());
    std::string anchored = plain;
    anchored = withAnchor(anchored, "HUD_RADAR_MAP", "right-top");
    anchored = withAnchor(anchored, "HUD_PLAYER_INFO_OFFSET_X_Y", "Right-Bottom");
    anchored = withAnchor(anchored, "HUD_CASH", "centre-top");
    anchored = withAnchor(anchored, "HUD_WEAPON_ICON", "left-bottom");
    anchored = withAnchor(anchored, "HUD_CELLPHONE", "left-top");
    anchored = withAnchor(anchored, "HUD_STATS_BOX", "right-top");
    anchored = withAnchor(anchored, "HUD_SUBTITLES", "center-top");
    anchored = withAnchor(anchored, "HUD_MISSION_TEXT", "left-bottom");
    anchored = withAnchor(anchored, "HUD_HELP_MESSAGE", "right-top");
    anchored = withAnchor(anchored, "HUD_ZONE_NAME", "right-bottom"); // its own edges: no move
    anchored = withAnchor(anchored, "HUD_VEHICLE_NAME", "right-topp"); // no anchor: no move

    TempDir plainDir, anchoredDir;
    const SimRun before = runLayout(plainDir, plain), after = runLayout(anchoredDir, anchored);
    ASSERT_EQ(before.exitCode, 0) << before.err;
    ASSERT_EQ(after.exitCode, 0) << after.err;
    // Anchors move, they never add or take away a call.
    for (int frame : {1, 10})
        EXPECT_EQ(trace_query::opsOf(trace_query::frameOf(before, frame)),
                  trace_query::opsOf(trace_query::frameOf(after, frame)));

    struct Moved {
        const char* what;
        int frame;
        const char* op;
        const char* key;
        double dx, dy;
    };
    // A unit is 4/3 pixel: the map's centre, 200 units (266 pixels) from the left and 155
    // (206) from the bottom, goes 266 from the right and 206 from the top; the block's offset
    // y (100: 133) from the top to the bottom; the cash, 40 units (53) from the right, 53
    // right of the middle; the subtitles 30 units (40) right of it instead of left.
    const Moved rows[] = {
        {"ring with its map", 10, "make_rect", "#0", 3440 - 2 * 266, 206 - (1440 - 206)},
        {"breath bar with its radar", 10, "make_rect", "#4", 3440 - 2 * 266, 206 - (1440 - 206)},
        {"ammo with its block", 10, "text_print_b", "7", 0, (1440 - 133) - 133},
        {"cash by its own anchor, not the block's", 10, "text_print_b", "$42", (1720 + 53) - (3440 - 53), 0},
        // Its point holds the block's offset: x 165 - 61 units (138 pixels) from the left, y
        // 92 + 100 (256) from the bottom.
        {"weapon icon by its own anchor", 10, "make_rect", "#8", 138 - (3440 - 138), (1440 - 256) - 256},
        {"phone across only: it slides up from the bottom", 10, "sprite_draw_xywh", "#0", 200 - (3440 - 200), 0},
        {"phone's clock with the phone", 10, "text_print", "00:00", 200 - (3440 - 200), 0},
        {"stats box up or down only: it slides in from the left", 10, "text_print", "STAT068", 0, 426 - (1440 - 426)},
        {"subtitle from the top, x rightward from the middle", 10, "text_print_b", "Over here", 2 * 40, 200 - (1440 - 200)},
        {"mission text from the left", 10, "text_print_b", "Mission passed", 53 - (3440 - 53), 0},
        {"help box from the right", 1, "text_print", "Hello", (3440 - 64) - 64, 0},
        {"zone name at its own edges", 1, "text_print", "Ganton", 0, 0},
        {"vehicle name with a word that is no anchor", 1, "text_print", "Infernus", 0, 0},
    };
    for (const Moved& row : rows) {
        SCOPED_TRACE(row.what);
        const json was = callOf(before, row.frame, row.op, row.key), is = callOf(after, row.frame, row.op, row.key);
        ASSERT_FALSE(was.is_null() || is.is_null()) << row.op << " " << row.key;
        const auto [x0, y0] = placeOf(was);
        const auto [x1, y1] = placeOf(is);
        EXPECT_EQ(x1 - x0, row.dx);
        EXPECT_EQ(y1 - y0, row.dy);
    }

    // Without an anchor the phone's left side is 150 units (200 pixels) in from the right edge.
    EXPECT_EQ(callOf(before, 10, "sprite_draw_xywh", "#0")[1], 3440 - 200);
    // The help box's wrap edge is a screen position: it moves with the text.
    const json wrapBefore = callOf(before, 1, "text_set_width_c", "#2"), wrapAfter = callOf(after, 1, "text_set_width_c", "#2");
    EXPECT_NEAR(wrapAfter[0].get<double>() - wrapBefore[0].get<double>(), (3440 - 64) - 64, 0.01);
    // Subtitles wrap where the ring ends while it is at the left; anchored away, at the width
    // the ring leaves at its shipped place.
    EXPECT_EQ(callOf(before, 10, "text_set_width_a", "#0"), json({3440 - 2000 - 260}));
    EXPECT_EQ(callOf(after, 10, "text_set_width_a", "#0"), json({3440 - 300}));
}

// The radar anchored top-right at three screen shapes: every pixel the radar adds to the
// preview lies in the corner, no further from the top and right edges than the map's centre
// (150 units in, 180 down) plus the ring's half size and its soft shadow.
TEST(Anchors, RadarAnchoredTopRightStaysInTheCornerAtEveryShape)
{
    if (!texturesBuilt())
        GTEST_SKIP() << "the shipped dictionaries are not built";
    std::string layout = unanchoredLayout();
    const std::string radar = "HUD_RADAR_MAP                170    170    100    100";
    layout.replace(layout.find(radar), radar.size(), "HUD_RADAR_MAP 150 180 100 100 right-top");
    // The preview without its second player (whose radar stays bottom-left), then the same
    // with the host's radar mode "no radar": what differs is the radar's.
    std::ifstream in(std::string(KELLHUD_ASSETS_DIR) + "/../docs/examples/preview.json");
    json preview = json::parse(in);
    for (json& frame : preview["world"])
        if (frame.contains("players"))
            frame["players"][1] = nullptr;
    const std::string withRadar = preview.dump();
    for (json& frame : preview["world"])
        frame["radar_mode"] = 2;
    const std::string withoutRadar = preview.dump();

    for (const auto& [size, width, height] : {std::tuple{"1920x1080", 1920, 1080}, std::tuple{"3440x1440", 3440, 1440},
                                              std::tuple{"1080x1920", 1080, 1920}}) {
        SCOPED_TRACE(size);
        png::Image pictures[2];
        for (int with = 0; with < 2; ++with) {
            TempDir dir;
            Scene scene;
            scene.layout = layout;
            scene.shippedTextures = true;
            scene.scenario = with ? withRadar : withoutRadar;
            scene.args = {"--size", size, "--frames", "1", "--png", dir.path() + "/out.png"};
            const SimRun r = runScene(dir, scene);
            ASSERT_EQ(r.exitCode, 0) << r.err;
            std::string error;
            ASSERT_TRUE(png::read(dir.path() + "/out.png", pictures[with], error)) << error;
        }
        const float unit = static_cast<float>(std::min(width, height)) / 1080.0f;
        const float reach = (150 + 130 + 12) * unit, deep = (180 + 130 + 12) * unit;
        int radarPixels = 0, stray = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const size_t i = (static_cast<size_t>(y) * width + x) * 4;
                if (std::equal(&pictures[0].rgba[i], &pictures[0].rgba[i] + 4, &pictures[1].rgba[i]))
                    continue;
                ++radarPixels;
                if (width - x > reach || y > deep)
                    ++stray;
            }
        EXPECT_GT(radarPixels, 10000 * unit * unit);
        EXPECT_EQ(stray, 0);
    }
}

} // namespace
