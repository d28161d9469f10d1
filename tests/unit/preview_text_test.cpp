// The preview's text: size, alignment, wrapping and the second colour, box and alpha.

#include <gtest/gtest.h>

#include <limits>

#include "preview/text.h"

namespace {

using namespace sim::preview;

struct Ink {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    int pixels = 0;
};

png::Image blank(int w, int h)
{
    png::Image image{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h * 4, 0)};
    for (size_t i = 3; i < image.rgba.size(); i += 4)
        image.rgba[i] = 255;
    return image;
}

// Where pixels of one colour channel were drawn (over black).
Ink inkOf(const png::Image& image, int channel)
{
    Ink ink;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.rgba[(static_cast<size_t>(y) * image.width + x) * 4 + channel] > 100) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x + 1);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y + 1);
                ++ink.pixels;
            }
    return ink;
}

class PreviewText : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(openTextFonts(error)) << error;
        state.scale = {1.0f, 1.0f};
        state.colour = {255, 0, 0, 255};
        state.secondColour = {0, 255, 0, 255};
        state.font = 1;
        state.alignment = 1;
        state.flagP = 1;
        state.alpha = 255.0f;
    }

    Ink draw(const char* text, float x = 100, float y = 20, bool fromBottom = false, int channel = 0)
    {
        image = blank(240, 120);
        drawText(image, state, x, y, text, fromBottom, wholeImage(image));
        return inkOf(image, channel);
    }

    sim::TextState state;
    png::Image image;
};

TEST_F(PreviewText, ScaleOneGivesTheHostsCellAndScalesEachWayApart)
{
    // Ten average characters fill ten 10-pixel cells; capitals stand most of the 20-pixel line.
    TextLayout line = layoutText(state, 0, 0, "Kell Hud 1", false);
    EXPECT_NEAR(line.lines[0].width, 100.0f, 25.0f);
    EXPECT_FLOAT_EQ(line.lineHeight, 20.0f);
    Ink one = draw("HH");
    EXPECT_GE(one.bottom - one.top, 10);
    EXPECT_LE(one.bottom - one.top, 20);

    state.scale = {1.0f, 2.0f};
    Ink tall = draw("HH");
    EXPECT_NEAR(tall.bottom - tall.top, 2 * (one.bottom - one.top), 2);
    EXPECT_NEAR(tall.right - tall.left, one.right - one.left, 1);
    state.scale = {2.0f, 1.0f};
    Ink wide = draw("HH");
    EXPECT_NEAR(wide.right - wide.left, 2 * (one.right - one.left), 3);
}

TEST_F(PreviewText, AlignmentCentresStartsOrEndsEachLineAtX)
{
    state.alignment = 1;
    Ink start = draw("Wanted", 120);
    EXPECT_GE(start.left, 119);
    EXPECT_LE(start.left, 122);
    state.alignment = 2;
    Ink end = draw("Wanted", 120);
    EXPECT_LE(end.right, 121);
    EXPECT_GE(end.right, 117);
    state.alignment = 0;
    Ink centre = draw("Wanted", 120);
    EXPECT_NEAR((centre.left + centre.right) / 2.0, 120.0, 2.0);
    EXPECT_NEAR(centre.right - centre.left, start.right - start.left, 1);
}

TEST_F(PreviewText, LinesWrapAtTheLineWidthOfTheirAlignment)
{
    const char* text = "one two three four";
    TextLayout unwrapped = layoutText(state, 10, 0, text, false);
    ASSERT_EQ(unwrapped.lines.size(), 1u); // no line width set: one line
    float whole = unwrapped.lines[0].width;

    float room = layoutText(state, 10, 0, "one two three", false).lines[0].width + 1.0f;
    state.widthC = 10 + room; // starting at x: the line ends at width_c
    TextLayout wrapped = layoutText(state, 10, 0, text, false);
    ASSERT_EQ(wrapped.lines.size(), 2u);
    EXPECT_EQ(std::string(text + wrapped.lines[0].start, wrapped.lines[0].length), "one two three");
    EXPECT_EQ(std::string(text + wrapped.lines[1].start, wrapped.lines[1].length), "four");
    state.widthC = 10 + room - 2.0f; // a pixel short: "three" moves down
    TextLayout shorter = layoutText(state, 10, 0, text, false);
    EXPECT_EQ(std::string(text + shorter.lines[0].start, shorter.lines[0].length), "one two");
    EXPECT_FLOAT_EQ(wrapped.lines[1].top, 20.0f);

    state.alignment = 0; // centred: the line is width_a wide
    state.widthA = whole * 0.3f;
    EXPECT_EQ(layoutText(state, 100, 0, text, false).lines.size(), 4u);
    state.alignment = 2; // ending at x: the line starts at width_b
    state.widthB = 100 - room;
    EXPECT_EQ(layoutText(state, 100, 0, text, false).lines.size(), 2u);

    state.alignment = 1; // a word wider than the line keeps a line of its own
    state.widthC = 15;
    TextLayout narrow = layoutText(state, 10, 0, "unbreakable", false);
    ASSERT_EQ(narrow.lines.size(), 1u);
    EXPECT_EQ(narrow.lines[0].length, 11u);
}

TEST_F(PreviewText, PrintFromBottomEndsTheLastLineAtY)
{
    state.widthC = 60;
    TextLayout top = layoutText(state, 10, 100, "aaa bbb ccc", false);
    TextLayout bottom = layoutText(state, 10, 100, "aaa bbb ccc", true);
    ASSERT_EQ(bottom.lines.size(), top.lines.size());
    EXPECT_FLOAT_EQ(top.lines.front().top, 100.0f);
    EXPECT_FLOAT_EQ(bottom.lines.back().top + bottom.lineHeight, 100.0f);
}

TEST_F(PreviewText, SecondColourOutlinesOrShadowsAndAlphaFadesEverything)
{
    Ink plain = draw("Kell", 100, 20, false, 1);
    EXPECT_EQ(plain.pixels, 0); // no outline, no shadow: no second colour

    state.flagR = 1;
    Ink outline = draw("Kell", 100, 20, false, 1);
    Ink body = inkOf(image, 0);
    EXPECT_GT(outline.pixels, 0);
    EXPECT_LT(outline.left, body.left);
    EXPECT_GE(outline.left, body.left - 2);
    EXPECT_LT(outline.top, body.top);
    EXPECT_GE(outline.top, body.top - 2);

    state.flagR = 0;
    state.flagS = 3;
    Ink shadow = draw("Kell", 100, 20, false, 1);
    body = inkOf(image, 0);
    EXPECT_EQ(shadow.right, body.right + 3);
    EXPECT_EQ(shadow.bottom, body.bottom + 3);

    state.alpha = 0.0f;
    EXPECT_EQ(draw("Kell").pixels, 0);
    EXPECT_EQ(inkOf(image, 1).pixels, 0);

    // Scales or places the screen cannot hold draw nothing.
    state.alpha = 255.0f;
    state.scale = {1e9f, 1.0f};
    EXPECT_EQ(draw("Kell").pixels, 0);
    state.scale = {1.0f, 1.0f};
    EXPECT_EQ(draw("Kell", std::numeric_limits<float>::quiet_NaN()).pixels, 0);
}

TEST_F(PreviewText, FixedWidthCharactersSitInTheMiddleOfTheirCells)
{
    state.flagP = 0;
    TextLayout narrow = layoutText(state, 0, 0, "ii", false), wide = layoutText(state, 0, 0, "WW", false);
    EXPECT_FLOAT_EQ(narrow.lines[0].width, 20.0f);
    EXPECT_FLOAT_EQ(wide.lines[0].width, 20.0f);
    Ink i = draw("i", 100);
    EXPECT_NEAR((i.left + i.right) / 2.0, 105.0, 1.0);
}

TEST_F(PreviewText, ScissorCutsGlyphsAtItsEdges)
{
    image = blank(240, 120);
    TextLayout layout = layoutText(state, 100, 20, "MMMM", false);
    int middle = static_cast<int>(layout.lines[0].left + layout.lines[0].width / 2);
    ClipRect clip = {middle - 6, 0, middle + 6, 120};
    drawText(image, state, 100, 20, "MMMM", false, clip);
    Ink ink = inkOf(image, 0);
    EXPECT_EQ(ink.left, clip.left);
    EXPECT_EQ(ink.right, clip.right);
}

TEST_F(PreviewText, BoxLiesBehindTheLinesOrReachesTheLineWidth)
{
    state.modePair[0] = 1;
    state.boxColour = {0, 0, 255, 255};
    Ink box = draw("Help", 50, 30, false, 2);
    Ink text = inkOf(image, 0);
    EXPECT_LT(box.left, text.left);
    EXPECT_GT(box.right, text.right);
    EXPECT_LT(box.right, 120);

    state.modePair[1] = 1;
    state.widthC = 200;
    EXPECT_GE(draw("Help", 50, 30, false, 2).right, 200);
}

} // namespace
