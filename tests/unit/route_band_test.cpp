// The route band's sides, against the host's own trigonometric form of them: within a
// thousandth of a pixel for legs of every direction and length on screen, and exactly the
// same for a leg of length 0.

#include "radar/gps_route.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

namespace {

// The host's form: the leg's angle, its sides a quarter turn (one float step short) either
// way of it.
BandOffsets trigonometricOffsets(Vec2 a, Vec2 b, float w)
{
    const float q = std::bit_cast<float>(0x3FC90FDAu);
    float theta = static_cast<float>(std::atan2(double{b.y - a.y}, double{b.x - a.x}));
    return {{static_cast<float>(std::cos(double{theta - q}) * w), static_cast<float>(std::sin(double{theta - q}) * w)},
            {static_cast<float>(std::cos(double{theta + q}) * w), static_cast<float>(std::sin(double{theta + q}) * w)}};
}

TEST(RouteBand, SidesMatchTheTrigonometricFormWithinAThousandthOfAPixel)
{
    // Half-widths: 5 pixels on a 1080-line radar, the map's zoom (0.55 to 1.4) and a 2160-
    // line screen. Lengths from 0 to the diagonal of a 3840 x 2160 screen.
    const float widths[] = {5.0f, 5.0f * 0.55f, 5.0f * 1.4f, 10.0f * 1.4f};
    const float lengths[] = {0.0f, 1e-3f, 0.5f, 1.0f, 7.25f, 100.0f, 1234.5f, 2202.9f, 4405.8f};
    const Vec2 starts[] = {{0.0f, 0.0f}, {960.5f, 540.25f}, {-30.0f, 2000.0f}};
    int checked = 0;
    for (float w : widths)
        for (float length : lengths)
            for (Vec2 a : starts)
                for (int step = 0; step < 360; step += 5) {
                    double angle = step * M_PI / 180.0;
                    Vec2 b{static_cast<float>(a.x + length * std::cos(angle)),
                           static_cast<float>(a.y + length * std::sin(angle))};
                    BandOffsets got = routeBandOffsets(a, b, w), want = trigonometricOffsets(a, b, w);
                    SCOPED_TRACE(testing::Message() << "w " << w << " length " << length << " step " << step);
                    ASSERT_NEAR(got.first.x, want.first.x, 1e-3);
                    ASSERT_NEAR(got.first.y, want.first.y, 1e-3);
                    ASSERT_NEAR(got.second.x, want.second.x, 1e-3);
                    ASSERT_NEAR(got.second.y, want.second.y, 1e-3);
                    if (length == 0.0f) {
                        EXPECT_EQ(std::bit_cast<uint64_t>(got.first), std::bit_cast<uint64_t>(want.first));
                        EXPECT_EQ(std::bit_cast<uint64_t>(got.second), std::bit_cast<uint64_t>(want.second));
                    }
                    ++checked;
                }
    EXPECT_EQ(checked, 4 * 9 * 3 * 72);
}

} // namespace
