// The preview's rasteriser and its drawing of recorded host calls.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "preview/draw_list.h"
#include "preview/outline.h"
#include "preview/raster.h"
#include "preview/render.h"
#include "preview/text.h"
#include "temp_dir.h"
#include "textures.h"
#include "txd/txd.h"

namespace {

using namespace sim::preview;

png::Image blank(int w, int h, Colour c)
{
    png::Image image{w, h, {}};
    for (int i = 0; i < w * h; ++i)
        image.rgba.insert(image.rgba.end(), {c.r, c.g, c.b, c.a});
    return image;
}

Colour at(const png::Image& image, int x, int y)
{
    const uint8_t* p = &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void expectNear(Colour actual, Colour expected, int tolerance = 1)
{
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
}

void fill(png::Image& image, float l, float t, float r, float b, Colour c, BlendMode blend = {},
          const TextureView* texture = nullptr, ClipRect clip = {0, 0, 1 << 20, 1 << 20})
{
    Vertex q[4] = {{l, t, 0, 0, c}, {r, t, 1, 0, c}, {l, b, 0, 1, c}, {r, b, 1, 1, c}};
    drawQuad(image, q, texture, blend, clip);
}

TEST(PreviewRaster, BlendsBySourceAlphaOrWholeAndAddsWhenTheDestinationIsKept)
{
    png::Image image = blank(3, 1, {0, 0, 255, 255});
    Colour half = {255, 0, 0, 128};
    fill(image, 0, 0, 1, 1, half);
    fill(image, 1, 0, 2, 1, half, {true, false});
    fill(image, 2, 0, 3, 1, half, {false, true});
    expectNear(at(image, 0, 0), {128, 0, 127, 255});
    expectNear(at(image, 1, 0), {255, 0, 127, 255});
    expectNear(at(image, 2, 0), {128, 0, 255, 255});
}

TEST(PreviewRaster, QuadCoversItsPixelsOnceEvenOnTheDiagonal)
{
    png::Image image = blank(12, 12, {0, 0, 0, 255});
    fill(image, 2, 2, 10, 10, {200, 200, 200, 128});
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            bool inside = x >= 2 && x < 10 && y >= 2 && y < 10;
            EXPECT_EQ(at(image, x, y).r, inside ? 100 : 0) << x << "," << y;
        }
}

TEST(PreviewRaster, TextureIsTintedByTheColourAndClampedAtItsEdges)
{
    // B,G,R,A: one texel (R 200, G 100, B 50), opaque.
    const uint8_t texel[4] = {50, 100, 200, 255};
    TextureView texture{1, 1, texel};
    png::Image image = blank(4, 4, {0, 0, 0, 255});
    fill(image, 0, 0, 4, 4, {255, 128, 0, 255}, {}, &texture);
    expectNear(at(image, 1, 2), {200, 50, 0, 255});

    const uint8_t redBlue[8] = {0, 0, 255, 255, 255, 0, 0, 255}; // red texel, then blue
    TextureView pair{2, 1, redBlue};
    Shade beyond = sampleTexture(pair, 1.5f, 0.5f), middle = sampleTexture(pair, 0.5f, 0.5f);
    EXPECT_FLOAT_EQ(beyond.b, 1.0f);
    EXPECT_FLOAT_EQ(beyond.r, 0.0f);
    EXPECT_NEAR(middle.r, 0.5f, 1e-6f);
}

TEST(PreviewRaster, ScissorKeepsEverythingOutsideItsRectangle)
{
    png::Image image = blank(8, 8, {0, 0, 0, 255});
    fill(image, -5, -5, 20, 20, {255, 255, 255, 255}, {}, nullptr, {2, 3, 6, 5});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(at(image, x, y).g, (x >= 2 && x < 6 && y >= 3 && y < 5) ? 255 : 0) << x << "," << y;
}

TEST(PreviewRaster, DegenerateAndNotANumberTrianglesDrawNothing)
{
    png::Image image = blank(4, 4, {0, 0, 0, 255});
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Colour white = {255, 255, 255, 255};
    drawTriangle(image, {0, 0, 0, 0, white}, {4, 4, 0, 0, white}, {2, 2, 0, 0, white}, nullptr, {}, wholeImage(image));
    drawTriangle(image, {nan, 0, 0, 0, white}, {4, 0, 0, 0, white}, {0, 4, 0, 0, white}, nullptr, {}, wholeImage(image));
    for (size_t i = 0; i < image.rgba.size(); i += 4)
        EXPECT_EQ(image.rgba[i], 0);
}

// Recorded host calls, drawn over the preview's background with a real dictionary.
class PreviewRecording : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::resetTextureDictionaries();
        // 2 x 2: top row red, green; bottom row blue, white.
        txd::Texture t;
        t.name = "quadrants";
        t.width = t.height = 2;
        t.hasAlpha = true;
        t.levels = {{0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 255, 255}, {64, 64, 64, 255}};
        txd::Dictionary d;
        d.textures.push_back(t);
        std::string path = dir.path() + "/q.txd", error;
        ASSERT_TRUE(txd::writeFile(path, d, error)) << error;
        int32_t slot = sim::addTextureSlot("test");
        ASSERT_TRUE(sim::loadTextureSlot(slot, path, error)) << error;
        sim::setCurrentDictionary(slot);
        texture = sim::findCurrentTexture("quadrants");
        ASSERT_NE(texture, 0u);
        setRecording(true);
    }
    void TearDown() override { setRecording(false); }

    png::Image render()
    {
        png::Image image;
        std::string error;
        EXPECT_TRUE(renderFrame(image, 40, 20, {}, error)) << error;
        return image;
    }

    TempDir dir;
    uint32_t texture = 0;
    const Colour white = {255, 255, 255, 255};
};

TEST_F(PreviewRecording, SpriteRectDrawsTheTextureAndAMirroredRectFlipsIt)
{
    recordSprite(texture, {0, 0, 10, 10}, white);
    recordSprite(texture, {30, 0, 20, 10}, white); // left lies right of right: mirrored
    png::Image image = render();
    expectNear(at(image, 2, 2), {255, 0, 0, 255});   // top left: red
    expectNear(at(image, 7, 7), {255, 255, 255, 255}); // bottom right: white
    expectNear(at(image, 22, 2), {0, 255, 0, 255});   // mirrored: green on the left
    expectNear(at(image, 27, 2), {255, 0, 0, 255});
}

TEST(PreviewRaster, AShrunkQuadSamplesTheLevelWhoseTexelsAreNoFartherApartThanItsPixels)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float width, height; // on the screen
        float uSpan;         // of the texture across the quad
        int levels, expected;
    } cases[] = {
        {128, 128, 1, 8, 0}, {200, 200, 1, 8, 0}, {65, 65, 1, 8, 0}, {64, 64, 1, 8, 1}, {43, 43, 1, 8, 1},
        {32, 32, 1, 8, 2},   {1, 1, 1, 8, 7},     {1, 1, 1, 3, 2},   {32, 32, 1, 1, 0}, {64, 128, 0.5f, 8, 0},
        {128, 16, 1, 8, 3},  {0, 0, 1, 8, 0},     {nan, 4, 1, 8, 0},
    };
    for (const auto& c : cases) {
        const Colour white = {255, 255, 255, 255};
        // Mirrored (right of left), as the radar ring's front is drawn: the span counts, not its sign.
        Vertex q[4] = {{c.width, 0, 0, 0, white},
                       {0, 0, c.uSpan, 0, white},
                       {c.width, c.height, 0, 1, white},
                       {0, c.height, c.uSpan, 1, white}};
        EXPECT_EQ(fittingLevel(q, 128, 128, c.levels), c.expected) << c.width << "x" << c.height << " of " << c.uSpan;
    }
}

TEST_F(PreviewRecording, ASpriteShrunkToHalfItsTextureOrLessDrawsItsMipLevel)
{
    recordSprite(texture, {0, 0, 1, 1}, white);  // 2 x 2 texels on one pixel: level 1
    recordSprite(texture, {4, 0, 6, 2}, white);  // at its size: level 0
    png::Image image = render();
    expectNear(at(image, 0, 0), {64, 64, 64, 255});
    expectNear(at(image, 4, 0), {255, 0, 0, 255});
}

TEST_F(PreviewRecording, SpriteUvTakesOnePairPerCornerAndQuadStartsAtTheBottomLeft)
{
    // The right half of the texture, as a gauge takes half the ring.
    const float rightHalf[8] = {0.5f, 0, 1, 0, 0.5f, 1, 1, 1};
    recordSpriteUv(texture, {0, 0, 10, 10}, white, rightHalf);
    const float corners[8] = {20, 10, 30, 10, 20, 0, 30, 0}; // bottom left, bottom right, top left, top right
    recordSpriteQuad(texture, corners, white);
    png::Image image = render();
    expectNear(at(image, 7, 2), {0, 255, 0, 255});
    expectNear(at(image, 7, 7), {255, 255, 255, 255});
    expectNear(at(image, 22, 2), {255, 0, 0, 255}); // upright
    expectNear(at(image, 22, 8), {0, 0, 255, 255});
}

// A sprite whose texture is missing holds none, and the host draws nothing for it: every
// pixel of its place stays the background, in whichever form it was drawn, while a fill in
// the same colour beside them shows.
TEST_F(PreviewRecording, ASpriteWithoutItsTextureLeavesTheBackground)
{
    const png::Image background = render();
    const Colour red = {255, 0, 0, 255};
    const float wholeUv[8] = {0, 0, 1, 0, 0, 1, 1, 1};
    const float quad[8] = {20, 10, 30, 10, 20, 0, 30, 0};
    recordSprite(0, {0, 0, 10, 10}, red);
    recordSpriteUv(0, {10, 0, 20, 10}, red, wholeUv);
    recordSpriteQuad(0, quad, red);
    recordFill({30, 0, 40, 10}, red);
    const png::Image image = render();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 30; ++x) {
            const Colour drawn = at(image, x, y), clear = at(background, x, y);
            ASSERT_TRUE(drawn.r == clear.r && drawn.g == clear.g && drawn.b == clear.b) << x << "," << y;
        }
    expectNear(at(image, 35, 5), red);
}

TEST_F(PreviewRecording, FramesStartAfreshAndKeepBlendAndScissor)
{
    recordFill({0, 0, 40, 20}, {255, 0, 0, 255});
    beginFrame();
    recordScissorRect(10, 0, 20, 20);
    recordDeviceState(174, 1);
    recordRenderState(10, 2);
    beginFrame();
    recordFill({0, 0, 40, 20}, {0, 0, 0, 128});
    ASSERT_EQ(ops().size(), 1u);
    EXPECT_TRUE(ops()[0].blend.sourceWhole);
    png::Image image = render();
    Colour outside = at(image, 5, 10), inside = at(image, 15, 10);
    EXPECT_NE(outside.r, 255);            // the first frame's fill is gone
    EXPECT_LT(inside.r, outside.r - 40); // darkened only inside the scissor
    EXPECT_NEAR(at(image, 25, 10).r, outside.r, 1);
}

TEST_F(PreviewRecording, RouteStripFillsBetweenItsVerticesAndTheMapNeedsAPlace)
{
    // Two legs as the route band draws them: four vertices per leg, one strip.
    HostVertex v[8] = {};
    const float xy[8][2] = {{0, 4}, {10, 4}, {0, 8}, {10, 8}, {10, 4}, {40, 4}, {10, 8}, {40, 8}};
    for (int i = 0; i < 8; ++i)
        v[i] = {xy[i][0], xy[i][1], 0, 0, 0xFF00FF00u, 0, 0};
    recordTriangles(4, v, 8);
    recordMapLayer();
    png::Image image = render(); // no map placement: nothing drawn for it
    for (int x : {1, 9, 12, 38})
        expectNear(at(image, x, 6), {0, 255, 0, 255});
    EXPECT_NE(at(image, 5, 12).g, 255);

    png::Image withMap;
    std::string error;
    ASSERT_TRUE(renderFrame(withMap, 40, 20, {true, {20, 0, 40, 20}}, error)) << error;
    EXPECT_NE(at(withMap, 30, 14).b, at(image, 30, 14).b); // the map is drawn in its place
    EXPECT_EQ(at(withMap, 21, 1).b, at(image, 21, 1).b);   // and is round: its corner stays clear
}

// Off until switched on, as a run without --png leaves it.
TEST_F(PreviewRecording, TriangleListsTakeThreeVerticesEachAndFansShareTheFirst)
{
    auto vertex = [](float x, float y) { return HostVertex{x, y, 0, 0, 0xFFFF0000u, 0, 0}; };
    // A list: two separate triangles, the gap between them left clear.
    HostVertex list[6] = {vertex(0, 0), vertex(8, 0), vertex(0, 8), vertex(30, 0), vertex(38, 0), vertex(38, 8)};
    recordTriangles(3, list, 6);
    // A fan around (20, 19): two triangles that share it.
    HostVertex fan[4] = {vertex(20, 19), vertex(12, 12), vertex(28, 12), vertex(28, 19)};
    recordTriangles(5, fan, 4);
    png::Image image = render();
    expectNear(at(image, 1, 1), {255, 0, 0, 255});
    expectNear(at(image, 36, 1), {255, 0, 0, 255});
    EXPECT_NE(at(image, 19, 4).r, 255);
    expectNear(at(image, 20, 13), {255, 0, 0, 255});
    expectNear(at(image, 26, 17), {255, 0, 0, 255});
    EXPECT_NE(at(image, 13, 17).r, 255);
}

TEST(PreviewRecordingOff, NothingIsKeptWithoutRecording)
{
    recordFill({0, 0, 1, 1}, {1, 2, 3, 4});
    recordText(0, 0, "text", false);
    recordMapLayer();
    EXPECT_TRUE(ops().empty());
    EXPECT_TRUE(characters().empty());
}

TEST(PreviewPath, AFolderOrAMissingFolderIsRefusedBeforeTheRun)
{
    TempDir dir;
    std::string error;
    EXPECT_FALSE(checkPicturePath(dir.path(), error));
    EXPECT_FALSE(checkPicturePath(dir.path() + "/missing/out.png", error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(checkPicturePath(dir.path() + "/out.png", error));
}

} // namespace

// --outline's boxes: where the plug-in draws each element, in its whole pixels, read as it
// reads the file, moved by offsets and anchors, the player rows pushed down below everything.
TEST(PreviewOutline, BoxesFollowTheEdgesAndOffsetsOfTheirKeys)
{
    TempDir dir;
    const std::string file = dir.write("hud.dat", "HUD_PLAYER_INFO_OFFSET_X_Y -61 100\n"
                                                  "HUD_RADAR_OFFSET_X_Y = 10 20 ; moves the radar\n"
                                                  "HUD_WEAPON_ICON 165 92 64 64\n"
                                                  "HUD_WEAPON_ICON 1 1 1 1\n" // the first line wins
                                                  "HUD_RADAR_MAP 170 170 100 100\n"
                                                  "HUD_STATS_BOX 40 320 280 325\n"
                                                  "HUD_CROSSHAIR_FPS 15 30 60 60\n"
                                                  "HUD_ZONE_NAME 40 84 0.9 1.8\n"
                                                  "HUD_RADAR_SPRITES 40 300 260 260\n"
                                                  "HUD_CELLPHONE 150 220 110 220\n"
                                                  "HUD_RADIO_HUD 15 30 120 120\n"
                                                  "HUD_SUBTITLES 30 150 0.7 1.5\n"
                                                  "HUD_MISSION_TEXT 40 240 0.85 1.8\n"
                                                  "HUD_AMMO 101 88 0.7 1.4\n"
                                                  "HUD_CASH 101 186 0.75 1.5\n"
                                                  "HUD_SECOND_WEAPON_ICON 165 240 64 64\n"
                                                  "HUD_SECOND_AMMO 101 236 0.2 0.2\n"
                                                  "HUD_BREATH_BAR 312 80 8 180\n"
                                                  "HUD_HELP_MESSAGE 48 170 0.5 1.15 centre-top\n");
    struct Case {
        const char* key;
        float left, top, right, bottom;
    };
    // At 1280x720 a unit is 2/3 of a pixel, and a place is rounded down to whole pixels.
    const Case cases[] = {
        // The icon itself (not the cash and the counter above it), 93 units down below them.
        {"HUD_WEAPON_ICON", 1280 - 69, 190, 1280 - 69 + 42, 190 + 42},
        {"HUD_RADAR_MAP", 53, 720 - 193, 186, 720 - 60}, // 80..280 across, 90..290 up
        {"HUD_STATS_BOX", 26, 507 - 216, 26 + 186, 507},
        {"HUD_CROSSHAIR_FPS", 610, 320, 650, 360}, // centred, moved left and up
        {"HUD_RADAR_SPRITES", 33, 720 - 213, 33 + 173, 720 - 213 + 173}, // moved too
        {"HUD_CELLPHONE", 1280 - 100, 720 - 146, 1280 - 100 + 73, 720},
        // Five icons 200 units apart around the middle one, whose left side is 75 - x left of the centre.
        {"HUD_RADIO_HUD", 640 - 173 - 133, 20, 640 - 173 + 400 + 80, 100},
        // Two lines of sixty characters, centred, x moving them left.
        {"HUD_SUBTITLES", 620 - 140, 620 - 40, 620 + 140, 620},
        {"HUD_SECOND_RADAR_SPRITES", 0, 720, 0, 720}, // missing: 0 0 0 0, as the plug-in reads it
        // Names: twelve characters of 10 units times the scale by a line of 20; a name
        // hangs down from its y, the mission title (twenty characters) stands on it.
        {"HUD_ZONE_NAME", 1254 - 72, 720 - 56, 1254, 720 - 56 + 24},
        {"HUD_MISSION_TEXT", 1254 - 20 * 8.5f * 2 / 3, 560 - 24, 1254, 560},
        // The counter 66 units down, its four reserve digits ending 62 units left of the clip's end.
        {"HUD_AMMO", 1280 - 53 - 14 - 4 * 7 * 2 / 3.0f, 169 - 28 * 2 / 3.0f, 1254, 169},
        // The cash 32 units below the stars, without the block's y; ten characters.
        {"HUD_CASH", 1254 - 50, 145 - 20, 1254, 145},
        // The second player's icon 27 units below its counter, which takes HUD_AMMO's scale.
        {"HUD_SECOND_WEAPON_ICON", 1211, 244, 1253, 286},
        {"HUD_SECOND_AMMO", 1280 - 53 - 14 - 4 * 7 * 2 / 3.0f, 224 - 28 * 2 / 3.0f, 1254, 224},
        {"HUD_BREATH_BAR", 206, 668 - 122, 206 + 8, 668}, // its 2-unit border around it
        // Anchored to the top middle: its left edge measured from the centre.
        {"HUD_HELP_MESSAGE", 640 + 28, 113, 640 + 470 * 2 / 3.0f, 113 + 2 * 23 * 2 / 3.0f},
    };
    const std::vector<sim::preview::OutlineBox> boxes =
        sim::preview::outlineBoxes(sim::preview::layoutOfFile(file), 1280, 720);
    for (const Case& c : cases) {
        auto found = std::find_if(boxes.begin(), boxes.end(), [&](const auto& b) { return b.key == c.key; });
        ASSERT_NE(found, boxes.end()) << c.key;
        EXPECT_NEAR(found->left, c.left, 0.01f) << c.key;
        EXPECT_NEAR(found->top, c.top, 0.01f) << c.key;
        EXPECT_NEAR(found->right, c.right, 0.01f) << c.key;
        EXPECT_NEAR(found->bottom, c.bottom, 0.01f) << c.key;
    }
    // Every record of hud.dat but the aiming crosshair and the second map, which draw none here.
    EXPECT_EQ(boxes.size(), 21u);

    // Each of the four edges is drawn; inside stays as it was.
    std::string error;
    ASSERT_TRUE(sim::preview::openTextFonts(error)) << error;
    png::Image image;
    image.width = 20;
    image.height = 20;
    image.rgba.assign(20 * 20 * 4, 0);
    sim::preview::drawOutlines(image, {{"", 4, 4, 15, 15}});
    auto red = [&](int x, int y) { return image.rgba[(static_cast<size_t>(y) * 20 + static_cast<size_t>(x)) * 4]; };
    EXPECT_GT(red(4, 10), 200);
    EXPECT_GT(red(15, 10), 200);
    EXPECT_GT(red(10, 4), 200);
    EXPECT_GT(red(10, 15), 200);
    EXPECT_EQ(red(10, 10), 0);
    // A box on the picture's first row and column is drawn there too.
    sim::preview::drawOutlines(image, {{"", 0, 0, 19, 19}});
    EXPECT_GT(red(0, 10), 200);
    EXPECT_GT(red(10, 0), 200);
}
