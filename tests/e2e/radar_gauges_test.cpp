// The radar frame's moving parts: which ring-gauge frame a share shows at the band bounds,
// the damage colour and flash, the wanted flash phases, the breath bar and the roll
// indicator, with the host values that have no sensible share (no maximum, not a number).

#include <gtest/gtest.h>

#include "scenes.h"

namespace {

using namespace radar_scene;

// One frame per world entry, the clock held still.
SimRun runFrames(const TempDir& dir, const std::vector<std::string>& worlds, const std::string& extra = "",
                 const std::string& settings = "bEnable = 1\n", const std::string& layoutText = layout)
{
    std::string list;
    for (size_t i = 0; i < worlds.size(); ++i)
        list += (i ? "," : "") + std::string(R"({"frame": )") + std::to_string(i + 1) + ", " + worlds[i] + "}";
    return run(dir,
               R"({"frames": )" + std::to_string(worlds.size()) + R"(, "clock": {"start_ms": 10000, "step_ms": 0})" +
                   extra + R"(, "world": [)" + list + "]}",
               settings, layoutText);
}

TEST(RingGauge, ShareShowsTheFrameOfItsBandBoundsIncludedAbove)
{
    struct Case {
        const char* player;
        json frame; // the health gauge's sprite, or null for none
    };
    const Case cases[] = {
        {R"("health": 100)", sprite("00")},   {R"("health": 99)", sprite("10")},
        {R"("health": 99.5)", sprite("00")},  {R"("health": 95)", sprite("10")},
        {R"("health": 90)", sprite("20")},    {R"("health": 90.001)", sprite("10")},
        {R"("health": 50)", sprite("100")},   {R"("health": 50.001)", sprite("90")},
        {R"("health": 5)", sprite("190")},    {R"("health": 5.001)", sprite("180")},
        {R"("health": 0.001)", sprite("190")}, {R"("health": 0)", nullptr},
        {R"("health": -5)", nullptr},          {R"("health": 150)", sprite("00")},
        {R"("health": 60, "max_health": 200)", sprite("140")},
        {R"("health": 255, "max_health": 255)", sprite("00")},
        // Values the host should never hold: no sprite, or a full ring, never a bad rectangle.
        {R"("health": "nan")", nullptr},       {R"("health": "inf")", sprite("00")},
        {R"("health": "-inf")", nullptr},      {R"("health": 50, "max_health": 0)", sprite("00")},
        {R"("health": 0, "max_health": 0)", nullptr},
    };
    std::vector<std::string> worlds;
    for (const Case& c : cases)
        worlds.push_back(std::string(R"("players": [{)") + c.player + "}]");
    TempDir dir;
    SimRun r = runFrames(dir, worlds);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].player);
        auto gauges = argsOf(calls(r, static_cast<int>(i + 1)), "sprite_draw_uv");
        // Without armour only the health gauge can be drawn.
        if (cases[i].frame.is_null()) {
            EXPECT_TRUE(gauges.empty());
            continue;
        }
        ASSERT_EQ(gauges.size(), 1u);
        EXPECT_EQ(gauges[0][0], cases[i].frame);
        EXPECT_EQ(gauges[0][1], json({40, 830, 165, 1080}));
    }
}

TEST(RingGauge, ArmourOfAZeroMaximumShowsAFullRingOrNone)
{
    TempDir dir;
    SimRun r = runFrames(dir, {R"("players": [{"health": 0, "armour": 30, "max_armour": 0}])",
                               R"("players": [{"health": 0, "armour": 0, "max_armour": 0}])",
                               R"("players": [{"health": 0, "armour": "nan"}])"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto gauges = argsOf(calls(r, 1), "sprite_draw_uv");
    ASSERT_EQ(gauges.size(), 1u);
    EXPECT_EQ(gauges[0][0], sprite("00"));
    EXPECT_EQ(gauges[0][1], json({165, 830, 290, 1080}));
    EXPECT_TRUE(argsOf(calls(r, 2), "sprite_draw_uv").empty());
    EXPECT_TRUE(argsOf(calls(r, 3), "sprite_draw_uv").empty());
    // The gauge's states are set, and state 8 cleared, with or without a sprite.
    auto ops = summary(r, 2);
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "render_state_set [11,6]"), 2);
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "render_state_set [8,0]"), 2);
}

TEST(RingGauge, HealthTurnsToTheDamageColourAtTwentyAndBelow)
{
    TempDir dir;
    SimRun r = runFrames(dir, {R"("players": [{"health": 20}])", R"("players": [{"health": 20.001}])",
                               R"("players": [{"health": 1}])", R"("players": [{"health": "nan"}])",
                               R"("players": [{"health": 20, "max_health": 20}])"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The health colour is the first colour of the frame.
    const json expected[] = {damage, health, damage, health, damage};
    for (int frame = 1; frame <= 5; ++frame) {
        auto colours = argsOf(calls(r, frame), "make_colour");
        ASSERT_FALSE(colours.empty());
        EXPECT_EQ(colours[0], expected[frame - 1]) << frame;
    }
    auto gauge = [&](int frame) {
        auto g = argsOf(calls(r, frame), "sprite_draw_uv");
        return g.size() == 1 ? json({g[0][0], g[0][2]}) : json(nullptr);
    };
    EXPECT_EQ(gauge(1), json({sprite("160"), damage}));
    EXPECT_EQ(gauge(2), json({sprite("150"), health}));
    EXPECT_EQ(gauge(4), nullptr);
    // At 20 of 20 the ring is full but still in the damage colour.
    EXPECT_EQ(gauge(5), json({sprite("00"), damage}));
}

// The mask sprites of a frame in the damage flash's colour.
size_t damageFlashes(const SimRun& r, int frame)
{
    size_t n = 0;
    for (const json& a : argsOf(calls(r, frame), "sprite_draw"))
        n += a[0] == sprite("radarringmask") && a[2] == damageFlash;
    return n;
}

TEST(DamageFlash, LastsSevenHundredMillisecondsOnTheHostClock)
{
    TempDir dir;
    // Host time 10000 throughout.
    SimRun r = runFrames(dir, {R"("damage_ms": 9300)", R"("damage_ms": 9299)", R"("damage_ms": 10000)",
                               R"("damage_ms": 3000000000)"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(damageFlashes(r, 1), 1u);
    EXPECT_EQ(damageFlashes(r, 2), 0u);
    EXPECT_EQ(damageFlashes(r, 3), 1u);
    // Compared unsigned: a stamp above 2^31 is not an old one.
    EXPECT_EQ(damageFlashes(r, 4), 1u);
    // Drawn over the mask, in the first box.
    auto rings = argsOf(calls(r, 1), "sprite_draw");
    ASSERT_GE(rings.size(), 3u);
    EXPECT_EQ(rings[2], json({sprite("radarringmask"), {40, 830, 290, 1080}, damageFlash}));
}

TEST(DamageFlash, EndOfTheFlashWrapsWithTheClock)
{
    TempDir dir;
    // Damaged 296 ms before the clock wraps: the flash ends at 404 after the wrap.
    SimRun r = run(dir, R"({"frames": 3, "clock": {"start_ms": 300, "step_ms": 0}, "steps": [{"frame": 2, "ms": 104},
        {"frame": 3, "ms": 1}], "world": [{"frame": 1, "damage_ms": 4294967000}]})");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(damageFlashes(r, 1), 1u);
    EXPECT_EQ(damageFlashes(r, 2), 1u);
    EXPECT_EQ(damageFlashes(r, 3), 0u);
}

// The wanted flash: the mask sprites after the damage flash's place, with their colours.
std::vector<json> wantedFlashes(const SimRun& r, int frame)
{
    std::vector<json> colours;
    for (const json& a : argsOf(calls(r, frame), "sprite_draw"))
        if (a[0] == sprite("radarringmask") && a[2] != ringMask && a[2] != damageFlash)
            colours.push_back(a[2]);
    return colours;
}

TEST(WantedFlash, RedAndBlueTakeTurnsEverySixHundredMillisecondsOfTheOtherClock)
{
    TempDir dir;
    // Host time 10000 (400 into its period); the other clock is moved to 599, 600, 1199
    // and 1200 into its period, then the stars go.
    SimRun r = runFrames(dir, {R"("wanted": {"stars": 1}, "alt_clock_offset_ms": 199)",
                               R"("wanted": {"stars": 1}, "alt_clock_offset_ms": 200)",
                               R"("wanted": {"stars": 1}, "alt_clock_offset_ms": 799)",
                               R"("wanted": {"stars": 6}, "alt_clock_offset_ms": 800)",
                               R"("wanted": {"stars": 0}, "alt_clock_offset_ms": 800)"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(wantedFlashes(r, 1), std::vector<json>{wantedRed});
    EXPECT_EQ(wantedFlashes(r, 2), std::vector<json>{wantedBlue});
    EXPECT_EQ(wantedFlashes(r, 3), std::vector<json>{wantedBlue});
    EXPECT_EQ(wantedFlashes(r, 4), std::vector<json>{wantedRed});
    EXPECT_TRUE(wantedFlashes(r, 5).empty());
    auto rings = argsOf(calls(r, 4), "sprite_draw");
    ASSERT_GE(rings.size(), 3u);
    EXPECT_EQ(rings[2], json({sprite("radarringmask"), {40, 830, 290, 1080}, wantedRed}));
    // Without stars the flash still sets its states, so the map below it is blended alike.
    auto ops = summary(r, 5);
    auto at = std::find(ops.begin(), ops.end(), "player_wanted");
    ASSERT_NE(at, ops.end());
    EXPECT_EQ(std::vector<std::string>(at + 1, at + 5),
              (std::vector<std::string>{"make_colour", "render_state_set [12,1]", "render_state_set [10,2]",
                                        "render_state_set [5,1]"}));
}

TEST(BreathBar, ShownUnderWaterGrowingUpFromItsBase)
{
    TempDir dir;
    SimRun r = runFrames(dir, {R"("players": [{"state_flags": 256, "breath": 500}])",
                               R"("players": [{"state_flags": 1023, "breath": 1500}])",
                               R"("players": [{"state_flags": 512, "breath": 500}])",
                               R"("players": [{"state_flags": 256, "breath": -100}])",
                               R"("players": [{"state_flags": 256, "breath": 500}], "breath_limit": 2000)"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const json border = {{310, 1002, 322, 818}, {0, 0, 0, 255}};
    const json background = {{312, 1000, 320, 820}, breathBackground};
    EXPECT_EQ(argsOf(calls(r, 1), "fill_rect"),
              (std::vector<json>{border, background, {{312, 1000, 320, 910}, breathFill}}));
    EXPECT_EQ(argsOf(calls(r, 1), "stat_limit"), std::vector<json>{{8}});
    // Above the full-breath value the fill overflows the bar; below 0 it hangs under it.
    const json fills[] = {{{312, 1000, 320, 730}, breathFill}, {{312, 1000, 320, 1018}, breathFill},
                          {{312, 1000, 320, 955}, breathFill}};
    const int frames[] = {2, 4, 5};
    for (int i = 0; i < 3; ++i) {
        auto drawn = argsOf(calls(r, frames[i]), "fill_rect");
        ASSERT_EQ(drawn.size(), 3u) << frames[i];
        EXPECT_EQ(drawn[2], fills[i]) << frames[i];
    }
    EXPECT_TRUE(argsOf(calls(r, 3), "fill_rect").empty());
    EXPECT_TRUE(argsOf(calls(r, 3), "stat_limit").empty());
}

TEST(BreathBar, LevelWithoutAFiniteShareDrawsTheEmptyBar)
{
    TempDir dir;
    SimRun r = runFrames(dir, {R"("players": [{"state_flags": 256, "breath": "inf"}])",
                               R"("players": [{"state_flags": 256, "breath": "nan"}])",
                               R"("players": [{"state_flags": 256, "breath": 500}], "breath_limit": 0)",
                               R"("players": [{"state_flags": 256, "breath": 0}], "breath_limit": 0)",
                               R"("players": [{"state_flags": 256, "breath": "-inf"}])",
                               R"("players": [{"state_flags": 256, "breath": 3e38}], "breath_limit": 1e-38)"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (int frame = 1; frame <= 6; ++frame) {
        auto fills = argsOf(calls(r, frame), "fill_rect");
        ASSERT_EQ(fills.size(), 2u) << frame;
        EXPECT_EQ(fills[1], json({{312, 1000, 320, 820}, breathBackground})) << frame;
    }
}

TEST(BreathBar, BackgroundIsTheBreathColourDarkerByAHundredWrappingBelowZero)
{
    TempDir dir;
    hud_scene::writePluginFolder(dir, "bEnable = 1\n");
    dir.write("kell-hud/data/hud.dat", layout);
    dir.write("kell-hud/data/hudColor.dat", "HUD_COLOUR_BREATH 100 99 0 7\n");
    SimRun r = runSim(dir, {"--scenario", dir.write("s.json", R"({"world": [{"frame": 1,
        "players": [{"state_flags": 256, "breath": 1000}]}]})")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto fills = argsOf(calls(r, 1), "fill_rect");
    ASSERT_EQ(fills.size(), 3u);
    EXPECT_EQ(fills[1][1], json({0, 255, 156, 155}));
    EXPECT_EQ(fills[2][1], json({100, 99, 0, 255}));
}

// The roll indicator's four corners as the host gets them (sprite and colour checked too).
json rollCorners(const SimRun& r, int frame)
{
    auto quads = argsOf(calls(r, frame), "sprite_draw_quad");
    if (quads.size() != 1)
        return nullptr;
    const json& q = quads[0];
    EXPECT_EQ(q[0], "radar_centre");
    EXPECT_EQ(q[9], white);
    return json(std::vector<json>(q.begin() + 1, q.begin() + 9));
}

TEST(RollIndicator, CornersOnTheRadarCentreAtEachScreenSize)
{
    struct Case {
        std::string screen;
        json corners; // bottom-left, bottom-right, top-left, top-right: x, y each
    };
    const Case cases[] = {
        // Centre 160, 160; half sizes 9 and 8, raised by 1.
        {"[1920, 1080]", {151, 927, 169, 927, 151, 911, 169, 911}},
        // Centre 106; half sizes 6 and 5; a unit is less than a pixel, so not raised.
        {"[1280, 720]", {100, 619, 112, 619, 100, 609, 112, 609}},
        // Centre 213; half sizes 12 and 11; raised by 1.
        {"[2560, 1440]", {201, 1237, 225, 1237, 201, 1215, 225, 1215}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screen);
        TempDir dir;
        SimRun r = run(dir, R"({"screen": )" + c.screen + R"(, "world": [{"frame": 1, "players": [{"vehicle": {"type": 4}}]}]})",
                       "bEnable = 1\n", layoutWithOffset("10 -20"));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(rollCorners(r, 1), c.corners);
    }
}

TEST(RollIndicator, TurnsWithTheVehiclesRollAndOnlyForItsType)
{
    TempDir dir;
    SimRun r = runFrames(dir,
                         {R"("players": [{"vehicle": {"type": 4, "matrix": [1, 0]}}])",
                          R"("players": [{"vehicle": {"type": 4, "matrix": [-1, 0]}}])",
                          R"("players": [{"vehicle": {"type": 3}}])", R"("players": [{}])",
                          R"("players": [{"vehicle": {"type": 4, "matrix": ["nan", 1]}}])",
                          R"("players": [{"vehicle": {"type": 4, "matrix": [0, "nan"]}}])",
                          R"("players": [{"vehicle": {"type": 4, "matrix": ["inf", "-inf"]}}])"},
                         "", "bEnable = 1\n", layoutWithOffset("10 -20"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // On its side a quarter turn each way: each corner moves a quarter round the centre.
    EXPECT_EQ(rollCorners(r, 1), json({168, 928, 168, 910, 152, 928, 152, 910}));
    EXPECT_EQ(rollCorners(r, 2), json({152, 910, 152, 928, 168, 910, 168, 928}));
    EXPECT_EQ(rollCorners(r, 3), nullptr);
    EXPECT_EQ(rollCorners(r, 4), nullptr);
    EXPECT_TRUE(argsOf(calls(r, 4), "player_vehicle").size() == 1);
    // A matrix without a defined roll puts no corner nowhere; an infinite one still has one.
    EXPECT_EQ(rollCorners(r, 5), nullptr);
    EXPECT_EQ(rollCorners(r, 6), nullptr);
    json infinite = rollCorners(r, 7);
    ASSERT_TRUE(infinite.is_array());
    for (const json& v : infinite)
        EXPECT_TRUE(v.is_number()) << infinite;
}

} // namespace
