#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "state/plugin.h"
#include "data/colours.h"
#include "data/layout.h"
#include "sim/system.h"
#include "temp_dir.h"

namespace {

// The keys as the plug-in spells them; that the shipped files spell them the same is checked
// by the data checker's run over the shipped folder.
const char* const* const recordKeys = layoutRecordKeys;
const char* const* const colourNames = hudColourNames;

const TempDir& pluginFolder()
{
    static TempDir dir;
    sim::system().pluginFile = dir.path() + "/KellHud.so";
    return dir;
}

std::array<int, 4> channels(Colour c)
{
    return {c.r, c.g, c.b, c.a};
}

} // namespace

TEST(Layout, ReadsEveryKeyIntoItsPlace)
{
    // Written back to front, so that reading in file order would not hide a wrong place.
    std::string text = "HUD_PLAYER_INFO_OFFSET_X_Y = -7 8\nHUD_RADAR_OFFSET_X_Y 5 -6.5\n";
    for (int i = LAYOUT_RECORD_COUNT - 1; i >= 0; --i)
        text += std::string(recordKeys[i]) + " " + std::to_string(i) + " " + std::to_string(i + 100) +
                " " + std::to_string(i + 200) + " " + std::to_string(i + 300) + "\n";
    pluginFolder().write("kell-hud\\data\\hud.dat", text);

    HudPlugin hud{};
    hud.layout = readLayout();
    EXPECT_EQ(hud.layout.radarOffset.x, 5.0f);
    EXPECT_EQ(hud.layout.radarOffset.y, -6.5f);
    EXPECT_EQ(hud.layout.playerInfoOffset.x, -7.0f);
    EXPECT_EQ(hud.layout.playerInfoOffset.y, 8.0f);
    for (int i = 0; i < LAYOUT_RECORD_COUNT; ++i) {
        const LayoutBox& box = hud.layout.records[i];
        EXPECT_EQ(box.x, i) << recordKeys[i];
        EXPECT_EQ(box.y, i + 100) << recordKeys[i];
        EXPECT_EQ(box.w, i + 200) << recordKeys[i];
        EXPECT_EQ(box.h, i + 300) << recordKeys[i];
    }
}

// The word after a line's numbers: an anchor when it names two edges, else nothing at all
// (notes after the numbers have always been allowed).
TEST(Layout, AnchorWordsAfterTheNumbers)
{
    using E = Edge;
    const struct {
        const char* line;
        Edge x, y;
    } rows[] = {
        {"HUD_RADAR_MAP 150 180 110 110 right-top", E::End, E::Start},
        {"HUD_RADAR_MAP = 1 2 3 4\tLEFT-Bottom ; a note", E::Start, E::End},
        {"HUD_RADAR_MAP 1 2 3 4 centre-center", E::Centre, E::Centre},
        {"HUD_RADAR_MAP 1 2 3 4 center-top extra words", E::Centre, E::Start},
        {"HUD_RADAR_MAP 1 2 3 right-top", E::Given, E::Given},     // the word stands for the fourth number
        {"HUD_RADAR_MAP 1 2 3 4 5 right-top", E::Given, E::Given}, // a fifth number is no anchor
        {"HUD_RADAR_MAP 1 2 3 4 top-right", E::Given, E::Given},   // across, then up or down
        {"HUD_RADAR_MAP 1 2 3 4 right", E::Given, E::Given},
        {"HUD_RADAR_MAP 1 2 3 4 heft-top", E::Given, E::Given}, // every letter counts
        {"HUD_RADAR_MAP 1 2 3 4 right-", E::Given, E::Given},
        {"HUD_RADAR_MAP 1 2 3 4 -top", E::Given, E::Given},
        {"HUD_RADAR_MAP 1 2 3 4 right-top-left", E::Given, E::Given},
        {"HUD_RADAR_MAP 1 2 3 4 // right-top", E::Given, E::Given},
        {"HUD_RADAR_MAP 1 2 3 4", E::Given, E::Given},
    };
    for (const auto& row : rows) {
        pluginFolder().write("kell-hud\\data\\hud.dat", std::string(row.line) + "\nHUD_RADAR_OFFSET_X_Y 5 6 left-bottom\n");
        const HudLayout layout = readLayout();
        EXPECT_EQ(layout.anchors[HUD_RADAR_MAP].x, row.x) << row.line;
        EXPECT_EQ(layout.anchors[HUD_RADAR_MAP].y, row.y) << row.line;
        // The numbers read as they always did.
        EXPECT_EQ(layout.records[HUD_RADAR_MAP].w, std::string(row.line).find(" 150 ") != std::string::npos ? 110.0f : 3.0f) << row.line;
        // A pair's anchor stands after its two numbers; other lines keep none.
        EXPECT_EQ(layout.radarOffsetAnchor.x, E::Start);
        EXPECT_EQ(layout.radarOffsetAnchor.y, E::End);
        EXPECT_EQ(layout.playerInfoOffsetAnchor.x, E::Given);
        EXPECT_EQ(layout.anchors[HUD_CASH].x, E::Given);
    }
}

TEST(Layout, MissingFileGivesZeros)
{
    pluginFolder();
    HudPlugin hud;
    std::memset(&hud.layout, 0x41, sizeof hud.layout);
    hud.layout = readLayout();
    EXPECT_EQ(hud.layout.radarOffset.x, 0.0f);
    EXPECT_EQ(hud.layout.playerInfoOffset.y, 0.0f);
    for (const LayoutBox& box : hud.layout.records) {
        EXPECT_EQ(box.x, 0.0f);
        EXPECT_EQ(box.h, 0.0f);
    }
}

TEST(Layout, FileOfRandomBytesIsReadSafely)
{
    std::mt19937 random(99);
    std::string bytes = "HUD_CASH 1 2 3 4\n";
    for (int i = 0; i < 100000; ++i)
        bytes += static_cast<char>(random());
    pluginFolder().write("kell-hud\\data\\hud.dat", bytes);

    HudPlugin hud{};
    hud.layout = readLayout();
    EXPECT_EQ(hud.layout.records[HUD_CASH].w, 3.0f);
}

TEST(Colours, EveryNameHasItsPlace)
{
    std::string text;
    for (int i = HUD_COLOUR_COUNT - 1; i >= 0; --i)
        text += std::string(colourNames[i]) + " = " + std::to_string(i) + " " + std::to_string(i + 50) + " " +
                std::to_string(i + 100) + " " + std::to_string(i + 150) + "\n";
    pluginFolder().write("kell-hud\\data\\hudColor.dat", text);

    const HudColourTable hudColours = readColours(0);
    for (int i = 0; i < HUD_COLOUR_COUNT; ++i)
        EXPECT_EQ(channels(hudColours[i]), (std::array<int, 4>{i, i + 50, i + 100, i + 150})) << colourNames[i];
}

TEST(Colours, VariantFileFollowsIVesk)
{
    const TempDir& dir = pluginFolder();
    dir.write("kell-hud\\data\\hudColor.dat", "HUD_COLOUR_GPS 1 1 1 1\n");
    dir.write("kell-hud\\data\\mora\\hudColor.dat", "HUD_COLOUR_GPS 2 2 2 2\n");
    dir.write("kell-hud\\data\\sabel\\hudColor.dat", "HUD_COLOUR_GPS 3 3 3 3\n");

    const std::pair<int32_t, int> cases[] = {{1, 2}, {2, 3}, {0, 1}, {3, 1}, {-1, 1}};
    for (auto [iVesk, expected] : cases)
        EXPECT_EQ(readColours(iVesk)[HUD_COLOUR_GPS].r, expected) << "iVesk " << iVesk;
}

TEST(Colours, GapsTakeOpaqueWhite)
{
    // The mora file is absent: no fall back to the base file.
    const TempDir& dir = pluginFolder();
    dir.write("kell-hud\\data\\hudColor.dat", "HUD_COLOUR_GPS 1 1 1 1\n");
    for (const Colour& c : readColours(1))
        EXPECT_EQ(channels(c), (std::array<int, 4>{255, 255, 255, 255}));

    dir.write("kell-hud\\data\\hudColor.dat", "HUD_COLOUR_GPS 300 -1\nHUD_COLOUR_RED = 255 128 0 255\n");
    const HudColourTable hudColours = readColours(0);
    EXPECT_EQ(channels(hudColours[HUD_COLOUR_GPS]), (std::array<int, 4>{44, 255, 255, 255}));
    EXPECT_EQ(channels(hudColours[HUD_COLOUR_RED]), (std::array<int, 4>{255, 128, 0, 255}));
    EXPECT_EQ(channels(hudColours[HUD_COLOUR_BLACK]), (std::array<int, 4>{255, 255, 255, 255}));
}
