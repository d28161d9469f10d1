// The per-frame slides of the cellphone parts and the stats box, and their standing still
// while the display is off.

#include <gtest/gtest.h>

#include <cmath>

#include "host_build.h"
#include "state/plugin.h"
#include "host_image.h"
#include "hud/draw_hud.h"

namespace {

class HudSlides : public ::testing::Test {
protected:
    void SetUp() override
    {
        plugin = HudPlugin{};
        plugin.layout.records[HUD_CELLPHONE].y = 200;
        plugin.layout.records[HUD_CELLPHONE_CLOCK].y = 126;
        plugin.layout.records[HUD_CELLPHONE_DAY].y = 154;
        plugin.layout.records[HUD_STATS_BOX].x = 40.5f;
    }
    HudElementState& state = plugin.hudState;
};

TEST_F(HudSlides, CellphonePartsSlideThirtyAFrameToTheirRowAndBack)
{
    state.phoneShown = true;
    const float phone[] = {30, 60, 90, 120, 150, 180, 200, 200};
    const float clock[] = {30, 60, 90, 120, 126, 126, 126, 126};
    const float day[] = {30, 60, 90, 120, 150, 154, 154, 154};
    for (int frame = 0; frame < 8; ++frame) {
        updateHudLayout(plugin.layout, plugin.hudState);
        EXPECT_EQ(state.phoneSlide, phone[frame]) << frame;
        EXPECT_EQ(state.clockSlide, clock[frame]) << frame;
        EXPECT_EQ(state.daySlide, day[frame]) << frame;
    }
    state.phoneShown = false;
    const float back[] = {170, 140, 110, 80, 50, 20, 0, 0};
    for (int frame = 0; frame < 8; ++frame) {
        updateHudLayout(plugin.layout, plugin.hudState);
        EXPECT_EQ(state.phoneSlide, back[frame]) << frame;
    }
    EXPECT_EQ(state.clockSlide, 0);
    EXPECT_EQ(state.daySlide, 0);
}

TEST_F(HudSlides, StatsBoxSlidesOutFromZeroAndInToItsWholeColumn)
{
    for (int frame = 1; frame <= 11; ++frame) {
        updateHudLayout(plugin.layout, plugin.hudState);
        EXPECT_EQ(state.statsSlide, frame < 10 ? -30 * frame : -300) << frame;
    }
    state.statsShown = true;
    for (int frame = 1; frame <= 12; ++frame) {
        updateHudLayout(plugin.layout, plugin.hudState);
        EXPECT_EQ(state.statsSlide, frame < 12 ? -300 + 30 * frame : 40) << frame;
    }
    updateHudLayout(plugin.layout, plugin.hudState);
    EXPECT_EQ(state.statsSlide, 40);
}

TEST_F(HudSlides, StatsBoxColumnsBeyondTheIntegerRangeRestAtItsEnds)
{
    state.statsShown = true;
    const struct {
        float column;
        int32_t rest;
    } cases[] = {{-3e9f, -2147483520}, {std::nanf(""), 0}, {3e9f, 30}};
    for (const auto& c : cases) {
        plugin.layout.records[HUD_STATS_BOX].x = c.column;
        state.statsSlide = 0;
        updateHudLayout(plugin.layout, plugin.hudState);
        EXPECT_EQ(state.statsSlide, c.rest) << c.column;
    }
    updateHudLayout(plugin.layout, plugin.hudState); // 3e9 climbs by 30 a frame towards the largest column it can hold
    EXPECT_EQ(state.statsSlide, 60);
}

TEST_F(HudSlides, SecondPlayerIconMovesDownBelowItsCounter)
{
    plugin.layout.records[HUD_SECOND_WEAPON_ICON].y = 240;
    plugin.layout.records[HUD_SECOND_AMMO].y = 236;
    updateHudLayout(plugin.layout, plugin.hudState);
    EXPECT_EQ(state.secondWeaponIconY, 240);
    EXPECT_EQ(state.secondAmmoY, 236);
    state.secondAmmoShown = true;
    updateHudLayout(plugin.layout, plugin.hudState);
    EXPECT_EQ(state.secondWeaponIconY, 267);
    EXPECT_EQ(state.secondAmmoY, 236);
}

TEST_F(HudSlides, StandStillWhileTheDisplayIsOff)
{
    sim::buildHostImage();
    state.phoneShown = true;
    state.statsSlide = -120;
    plugin.hudDisabled = true;
    DrawHud();
    DrawHud();
    EXPECT_EQ(state.phoneSlide, 0);
    EXPECT_EQ(state.statsSlide, -120);
    plugin.hudDisabled = false;
    updateHudLayout(plugin.layout, plugin.hudState);
    EXPECT_EQ(state.phoneSlide, 30);
}

} // namespace
