#include "studio/doc_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_dir.h"

namespace {

std::string guide(const std::string& name)
{
    return readWholeFile(std::string(KELLHUD_ASSETS_DIR) + "/../docs/" + name);
}

} // namespace

TEST(StudioDocRows, RowsOfTheGuides)
{
    const std::string layout = guide("layout-files.md");
    const std::string settings = guide("settings.md");
    ASSERT_FALSE(layout.empty());
    ASSERT_FALSE(settings.empty());
    const struct {
        const std::string& markdown;
        const char* key;
        std::vector<std::string> starts; // the start of each row, in order
    } rows[] = {
        {layout, "HUD_RADAR_MAP",
         {"Measured from, without an anchor: left, bottom; Moves with: leads the radar; An anchor moves it: the radar: "
          "map,",
          "x: centre of the map, from the left edge; y: height of the centre above the bottom edge; w, h: radius of "
          "the map in x and y"}},
        // One of several keys in its first cell, and no match in HUD_SECOND_AMMO's rows.
        {layout, "HUD_AMMO",
         {"Measured from, without an anchor: right, top; Moves with: HUD_PLAYER_INFO_OFFSET_X_Y; An anchor moves it: "
          "that element alone",
          "x: distance from the right edge to the end of the clip number (right-aligned);"}},
        {layout, "HUD_COLOUR_GREY", {"Used for: game palette"}},
        {layout, "HUD_MISSION_TEXT",
         {"Measured from, without an anchor: right, bottom;",
          "Element: mission title (always drawn slightly translucent); its y reaches the bottom of the text"}},
        {settings, "bEnable", {"Type: switch; Default: 0; Shipped: 1; What it does: Master switch."}},
        {settings, "iVesk", {"Type: number; Default: 0; Shipped: 0; What it does: Style: 0 base"}},
        // A header naming the key is no row of it.
        {layout, "iVesk", {}},
        {layout, "HUD_NOTHING", {}},
    };
    for (const auto& row : rows) {
        const std::vector<std::string> found = studio::docRows(row.markdown, row.key);
        ASSERT_EQ(found.size(), row.starts.size()) << row.key;
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].substr(0, row.starts[i].size()), row.starts[i]) << row.key;
            EXPECT_EQ(found[i].find_first_of("`\n|"), std::string::npos) << found[i];
            EXPECT_EQ(found[i].find("**"), std::string::npos) << found[i];
        }
    }
}

TEST(StudioDocRows, TableEdgeCases)
{
    const struct {
        const char* name;
        const char* markdown;
        const char* key;
        std::vector<std::string> expected;
    } rows[] = {
        {"a key is not a prefix of another", "| Key | a |\n|---|---|\n| `HUD_SECOND_AMMO` | 1 |\n| `HUD_AMMOX` | 2 |\n",
         "HUD_AMMO", {}},
        {"one of several keys", "| Key | a |\n|---|---|\n| `HUD_X`, `HUD_AMMO` | 1 |\n", "HUD_AMMO", {"a: 1"}},
        {"a key without backticks does not count", "| Key | a |\n|---|---|\n| HUD_AMMO | 1 |\n", "HUD_AMMO", {}},
        {"a key named further right does not count", "| Key | a |\n|---|---|\n| `HUD_X` | `HUD_AMMO` |\n",
         "HUD_AMMO", {}},
        {"'|' inside backticks and escaped", "| Key | a | b |\n|:--|--:|:-:|\n| `K` | `x|y` | 1 \\| 2 |\n", "K",
         {"a: x|y; b: 1 | 2"}},
        {"no header row", "| `K` | one | two |\n| `L` | three | four |\n", "K", {"one; two"}},
        {"no closing border, bold and code stripped", "| Key | What |\n|---|---|\n| `K` | **bold** and `code`\n",
         "K", {"What: bold and code"}},
        {"bold at the end of a cell", "| Key | a |\n|---|---|\n| `K` | x **y**|\n", "K", {"a: x y"}},
        {"a row with dashes in its text is no header line", "| Key | a |\n| `K-1` | x-y |\n", "K-1", {"x-y"}},
        {"empty cells are left out", "| Key | a | b |\n|---|---|---|\n| `K` |  | 2 |\n", "K", {"b: 2"}},
        {"more cells than headers", "| Key | a |\n|---|---|\n| `K` | 1 | 2 |\n", "K", {"a: 1; 2"}},
        {"CRLF lines", "| Key | a |\r\n|---|---|\r\n| `K` | 1 |\r\n", "K", {"a: 1"}},
        {"each table has its own header",
         "| Key | a |\n|---|---|\n| `K` | 1 |\n\ntext\n\n| Key | b |\n|---|---|\n| `K` | 2 |\n", "K",
         {"a: 1", "b: 2"}},
        {"a table right after another's text line starts anew", "| Key | a |\n|---|---|\nnot a row\n| `K` | 1 |\n",
         "K", {"1"}},
        {"rows in a fenced code block do not count", "```\n| `K` | 1 |\n```\n| `K` | 2 |\n", "K", {"2"}},
        {"rows indented by up to three spaces", "   | Key | a |\n   |---|---|\n   | `K` | 1 |\n", "K", {"a: 1"}},
        {"no spaces at the borders", "|Key|a|\n|-|-|\n|`K`|1|\n", "K", {"a: 1"}},
        {"an indented code block does not count", "    | `K` | 1 |\n", "K", {}},
        {"an unclosed backtick names nothing", "| `K | 1 |\n", "K", {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(studio::docRows(row.markdown, row.key), row.expected) << row.name;
}
