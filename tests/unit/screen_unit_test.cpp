#include "data/screen_unit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "host/host.h"
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
