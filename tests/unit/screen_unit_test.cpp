#include "data/screen_unit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "host/host.h"
#include "sim/host_build.h"
#include "sim/host_image.h"

namespace {

void screen(int32_t width, int32_t height)
{
    if (!sim::hostImageBuilt())
        sim::buildHostImage();
    host::screen_width.set(width);
    host::screen_height.set(height);
}

} // namespace

TEST(ScreenUnit, ReferenceScreenIsOnePixelPerUnit)
{
    screen(1920, 1080);
    EXPECT_EQ(scale(31.5f), 31.5f);
    EXPECT_EQ(pixels(31.5f), 31.0f);
    EXPECT_EQ(pixels(104), 104.0f);
}

TEST(ScreenUnit, ScalesByTheShorterSide)
{
    screen(1280, 720);
    EXPECT_EQ(pixels(100), 66.0f);
    EXPECT_EQ(pixels(31), 20.0f);
    EXPECT_EQ(pixels(104), 69.0f);
    EXPECT_EQ(scale(31), 720.0f * 31.0f / 1080.0f);

    screen(1920, 1200); // wider than high: the height
    EXPECT_EQ(pixels(1080), 1200.0f);
    screen(1080, 1920); // portrait: the width
    EXPECT_EQ(pixels(1080), 1080.0f);
    screen(900, 900);
    EXPECT_EQ(pixels(1080), 900.0f);
}

TEST(ScreenUnit, TruncatesTowardZero)
{
    screen(1280, 720);
    EXPECT_EQ(pixels(-31), -20.0f);
    const float small = pixels(-1); // -0.66 truncates to a plain zero
    EXPECT_EQ(small, 0.0f);
    EXPECT_FALSE(std::signbit(small));
}

TEST(ScreenUnit, HugeLengthsFromADataFileStayDefined)
{
    screen(1920, 1080);
    const float beyondInt = pixels(3e9f);
    EXPECT_NEAR(beyondInt, 3e9f, 1e3f);
    EXPECT_EQ(beyondInt, std::trunc(beyondInt));
    EXPECT_TRUE(std::isinf(pixels(3e38f)));
    EXPECT_TRUE(std::isinf(pixels(-3e38f)));
}

// The truncation takes a shortcut through a 32-bit integer; at and beyond that integer's
// range, and for values that are not numbers, it must still give what std::trunc gives.
TEST(ScreenUnit, WholePartIsTruncationWithoutNegativeZero)
{
    const float values[] = {0.0f, -0.0f, 0.75f, -0.75f, 1.5f, -1.5f, 8388607.5f, -8388607.5f,
                            2147483520.0f, -2147483648.0f, 2147483648.0f, -2147483904.0f, 3e9f, -3e38f,
                            INFINITY, -INFINITY, NAN};
    for (float v : values) {
        const float expected = std::trunc(v) + 0.0f;
        const float got = wholePart(v);
        if (std::isnan(expected)) {
            EXPECT_TRUE(std::isnan(got)) << v;
            continue;
        }
        EXPECT_EQ(got, expected) << v;
        EXPECT_EQ(std::signbit(got), std::signbit(expected)) << v;
    }
}
