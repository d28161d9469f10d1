// The art tool's readers and measurements: the icon map and station list a modder edits,
// the glyph widths taken from a rendered sheet, and the SVG it composes.

#include <gtest/gtest.h>

#include "art/font_sheet.h"
#include "art/icons.h"
#include "art/pictures.h"
#include "art/svg.h"
#include "temp_dir.h"

namespace {

TEST(ArtIconMap, ReadsChoicesSkipsCommentsAndNamesTheBadLine)
{
    std::vector<art::IconChoice> choices;
    std::string error;
    ASSERT_TRUE(art::parseIconMap("# weapons\n\nweapons ak47 ak47   # rifle\n  blips radar_save own:disk\n"
                                  "weapons knifecur bowie-knife mirrored\n",
                                  choices, error))
        << error;
    ASSERT_EQ(choices.size(), 3u);
    EXPECT_EQ(choices[1].dictionary, "blips");
    EXPECT_EQ(choices[1].texture, "radar_save");
    EXPECT_EQ(choices[1].source, "own:disk");
    EXPECT_FALSE(choices[1].mirrored);
    EXPECT_EQ(choices[2].source, "bowie-knife");
    EXPECT_TRUE(choices[2].mirrored);
    EXPECT_EQ(art::mirrored("<p/>"), "<g transform=\"matrix(-1 0 0 1 512 0)\"><p/></g>");

    choices.clear();
    const struct {
        const char* text;
        const char* line;
    } bad[] = {{"weapons ak47 ak47\nweapons bat\n", "line 2"},
               {"weapons bat baseball-bat extra\n", "line 1"},
               {"weapons bat baseball-bat mirrored extra\n", "line 1"}};
    for (const auto& b : bad) {
        EXPECT_FALSE(art::parseIconMap(b.text, choices, error)) << b.text;
        EXPECT_EQ(error, std::string(b.line) + ": expected DICTIONARY TEXTURE ICON [mirrored]") << b.text;
    }
    EXPECT_FALSE(art::parseIconMap("weapons bat a\nblips bat b\nweapons bat c\n", choices, error));
    EXPECT_EQ(error, "line 3: bat of weapons is already given");
}

TEST(ArtIconMap, FindsBodiesInTheSetOrInOurOwnFiles)
{
    art::IconSet set;
    std::string error;
    ASSERT_TRUE(art::parseIconSet(R"({"prefix":"x","width":512,"icons":{"fist":{"body":"<path d='M0 0'/>"}}})", set, error));
    EXPECT_FALSE(art::parseIconSet(R"({"prefix":"x"})", set, error));
    EXPECT_FALSE(art::parseIconSet("not json", set, error));

    TempDir dir;
    dir.write("cane.svg", "<?xml version='1.0'?>\n<svg xmlns='http://www.w3.org/2000/svg'><g id='c'/></svg>\n");
    dir.write("empty.svg", "<g/>");
    std::string body;
    ASSERT_TRUE(art::iconBody("fist", set, dir.path(), body, error));
    EXPECT_EQ(body, "<path d='M0 0'/>");
    ASSERT_TRUE(art::iconBody("own:cane", set, dir.path(), body, error)) << error;
    EXPECT_EQ(body, "<g id='c'/>");
    EXPECT_FALSE(art::iconBody("own:missing", set, dir.path(), body, error));
    EXPECT_NE(error.find("cannot read"), std::string::npos);
    EXPECT_FALSE(art::iconBody("own:empty", set, dir.path(), body, error));
    EXPECT_FALSE(art::iconBody("palm", set, dir.path(), body, error));
    EXPECT_EQ(error, "the icon set has no icon \"palm\"");
}

TEST(ArtStations, ReadsColoursAndLabelsAndRefusesBadColours)
{
    std::vector<art::Station> stations;
    std::string error;
    ASSERT_TRUE(art::parseStations("# c\nradio_x #A0b0c0 #000000 MY_TRACKS # note\n", stations, error)) << error;
    ASSERT_EQ(stations.size(), 1u);
    EXPECT_EQ(stations[0].top, "#A0b0c0");
    EXPECT_EQ(stations[0].label, "MY TRACKS");
    EXPECT_FALSE(art::parseStations("radio_x #a0b0c #000000 X\n", stations, error));
    EXPECT_FALSE(art::parseStations("radio_x #a0b0cg #000000 X\n", stations, error));
    EXPECT_FALSE(art::parseStations("radio_x a0b0c0f #000000 X\n", stations, error));
    EXPECT_FALSE(art::parseStations("\nradio_x #a0b0c0 #000000\n", stations, error));
    EXPECT_EQ(error, "line 2: expected TEXTURE #RRGGBB #RRGGBB LABEL");
    EXPECT_FALSE(art::parseStations("radio_x #a0b0c0 #000000 X Y\n", stations, error));
}

png::Image blankSheet()
{
    return {art::fontSheetWidth, art::fontSheetHeight,
            std::vector<uint8_t>(static_cast<std::size_t>(art::fontSheetWidth) * art::fontSheetHeight * 4, 0)};
}

void ink(png::Image& sheet, int x, int y, uint8_t alpha = 255)
{
    sheet.rgba[(static_cast<std::size_t>(y) * sheet.width + x) * 4 + 3] = alpha;
}

TEST(ArtGlyphWidths, AreMeasuredFromTheRightmostInkOfEachCell)
{
    png::Image sheet = blankSheet();
    int a = 'A' - art::fontFirstChar; // row 2, column 1
    int left = (a % art::fontColumns) * art::fontCell, top = (a / art::fontColumns) * art::fontCell;
    ink(sheet, left + 3, top + 5);
    ink(sheet, left + 17, top + art::fontCell - 1, 1); // faint edge pixels count as ink
    int tilde = '~' - art::fontFirstChar;              // the last used cell
    ink(sheet, (tilde % art::fontColumns) * art::fontCell + art::fontCell - 1, (tilde / art::fontColumns) * art::fontCell);
    int b = 'B' - art::fontFirstChar; // ink of the next cell is not A's
    ink(sheet, (b % art::fontColumns) * art::fontCell + 30, top);

    art::GlyphWidths w;
    ASSERT_TRUE(art::measureGlyphs(sheet, w));
    EXPECT_EQ(w[a], 19);
    EXPECT_EQ(w[b], 32);
    EXPECT_EQ(w[tilde], art::fontCell + 1);
    EXPECT_EQ(w[0], art::fontSpaceWidth);
    EXPECT_EQ(w['C' - art::fontFirstChar], art::fontSpaceWidth);

    png::Image small{art::fontSheetWidth, art::fontSheetHeight / 2, {}};
    small.rgba.resize(static_cast<std::size_t>(small.width) * small.height * 4);
    EXPECT_FALSE(art::measureGlyphs(small, w));
    png::Image truncated = blankSheet();
    truncated.rgba.resize(16);
    EXPECT_FALSE(art::measureGlyphs(truncated, w));
}

TEST(ArtGlyphWidths, OneFileServesAllVariantsWithTheWidestOfEach)
{
    art::GlyphWidths plain{}, bold{};
    plain.fill(10);
    bold.fill(9);
    plain[5] = 7;
    bold[5] = 12;
    art::GlyphWidths w = art::widest({plain, bold});
    EXPECT_EQ(w[0], 10);
    EXPECT_EQ(w[5], 12);
    EXPECT_EQ(w[95], 10);

    std::string data = art::fontData({"font1"}, {w});
    std::string line = data.substr(data.rfind('\n', data.size() - 2) + 1);
    EXPECT_EQ(line.rfind("font1 10 10 10 10 10 12 10", 0), 0u) << line;
    EXPECT_EQ(std::count(line.begin(), line.end(), ' '), art::fontCharCount);
    EXPECT_EQ(data.back(), '\n');
}

TEST(ArtSvg, WritesNumbersShortAndTextEscapedAndFindsTheContent)
{
    EXPECT_EQ(art::svg::num(12.0), "12");
    EXPECT_EQ(art::svg::num(-0.0001), "0");
    EXPECT_EQ(art::svg::num(0.125), "0.125");
    EXPECT_EQ(art::svg::num(2.5), "2.5");
    EXPECT_EQ(art::svg::escape("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&apos;");
    EXPECT_EQ(art::svg::innerContent("<svg a='1'><g/></svg>"), "<g/>");
    EXPECT_EQ(art::svg::innerContent("<g/>"), "");
    EXPECT_EQ(art::svg::innerContent("<svg></svg"), "");
    // Straight down is 0 degrees, the left side positive.
    EXPECT_EQ(art::svg::pointOnCircle(100, 100, 10, 0), "100,110");
    EXPECT_EQ(art::svg::pointOnCircle(100, 100, 10, 90), "90,100");
    EXPECT_EQ(art::svg::pointOnCircle(100, 100, 10, -90), "110,100");
}

TEST(ArtPictures, GaugeFramesSweepBothSidesByWhatTheirNameLeavesOut)
{
    // "00" fills each half to the top; "100" half way, to the sides; "190" hardly at all.
    auto reaches = [](const std::string& svg, const std::string& point) { return svg.find(point) != std::string::npos; };
    std::string full = art::progressFrame(0), half = art::progressFrame(100), least = art::progressFrame(190);
    EXPECT_TRUE(reaches(full, art::svg::pointOnCircle(128, 128, 0.87 * 128, 180)));
    EXPECT_TRUE(reaches(half, art::svg::pointOnCircle(128, 128, 0.87 * 128, 90) + "\""));
    EXPECT_TRUE(reaches(half, art::svg::pointOnCircle(128, 128, 0.87 * 128, -90) + "\""));
    EXPECT_FALSE(reaches(half, art::svg::pointOnCircle(128, 128, 0.87 * 128, 91)));
    EXPECT_TRUE(reaches(least, art::svg::pointOnCircle(128, 128, 0.87 * 128, 9) + "\""));
    EXPECT_EQ(art::progressFrame(200).find("polyline"), std::string::npos); // nothing left to show

    EXPECT_EQ(art::radarRing("radarringside", 0), "");
    EXPECT_NE(art::radarRing("radarringfront", 1), art::radarRing("radarringfront", 2));
    EXPECT_EQ(art::blip("radar_police", ""), "");
    EXPECT_NE(art::blip("radar_police", "<path/>").find("<path/>"), std::string::npos);
}

} // namespace
