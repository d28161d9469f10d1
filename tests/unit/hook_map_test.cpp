// The hook maps installed over the simulated host's image in this process, so that the
// patched code and the colours the routines leave can be read back.

#include "hooks/hook_map.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host_build.h"
#include "state/plugin.h"
#include "data/colours.h"
#include "hooks/hook_routines.h"
#include "host/host.h"
#include "platform/address.h"
#include "host_image.h"
#include "host_records.h"
#include "host_routines.h"
#include "host_sites.h"
#include "hud/area_names.h"
#include "hud/crosshair.h"
#include "hud/draw_hud.h"
#include "hud/radio_hud.h"
#include "hud/help_box.h"
#include "hud/subtitles.h"
#include "hud/text_box.h"
#include "hud/progress_bar.h"
#include "injector/hooking.h"
#include "radar/draw_radar.h"
#include "render_engine.h"
#include "trace.h"
#include "x86.h"

namespace {

template <class T>
T at(uint32_t address)
{
    T value;
    std::memcpy(&value, reinterpret_cast<const void*>(uintptr_t{address}), sizeof value);
    return value;
}

bool sameColour(Colour a, Colour b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class HookMap : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::buildHostImage();
        sim::startRenderEngine();
        sim::trace::clear();
        plugin.settings.iRadarAlpha = 0x1C0FFEE;
        plugin.settings.iGangOverlayAlpha = 0x1234; // only the low byte counts
        plugin.settings.bRadioHud = true;
        // Every colour distinct, none of them opaque.
        for (int i = 0; i < HUD_COLOUR_COUNT; ++i)
            plugin.colours[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(100 + i), static_cast<uint8_t>(200 - i), 7};
        ASSERT_FALSE(injector::apply_patches(hudHookMap()));
        ASSERT_FALSE(injector::apply_patches(radarHookMap()));
    }
};

TEST_F(HookMap, JumpAndCallRowsLeadToTheirRoutines)
{
    struct Row {
        uint32_t site;
        uint8_t opcode;
        uint32_t routine;
    };
    const Row rows[] = {
        {0x58FDA0, 0xE9, addressOf(&FillHudColourArray)}, {0x58EAF0, 0xE9, addressOf(&DrawHud)},
        {0x58AE5D, 0xE8, addressOf(&PrintZoneName)},       {0x58AE02, 0xE8, addressOf(&SetZoneNameColour)},
        {0x58B156, 0xE8, addressOf(&PrintVehicleName)},    {0x58B0ED, 0xE8, addressOf(&SetVehicleNameColour)},
        {0x514860, 0xE9, addressOf(&DoNothing)},           {0x5849E2, 0xE8, addressOf(&MakeArrowColour)},
        {0x586850, 0xE8, addressOf(&MakeGangOverlayColour)}, {0x58A330, 0xE9, addressOf(&DrawRadar)},
        {0x58E020, 0xE9, addressOf(&DrawCrosshair)},       {0x4E9E50, 0xE9, addressOf(&DrawRadioHud)},
        {0x58C68A, 0xE8, addressOf(&PrintSubtitle)},       {0x58FCFA, 0xE8, addressOf(&DrawHelpBox)},
        {0x573EF4, 0xE8, addressOf(&DrawTextBoxBackground)}, {0x71A7EE, 0xE8, addressOf(&DrawTextBoxBackground)},
        {0x58D470, 0xE8, addressOf(&PrintMissionText)},
        {0x728640, 0xE9, addressOf(&DrawProgressBar)},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(at<uint8_t>(row.site), row.opcode) << std::hex << row.site;
        EXPECT_EQ(injector::branch_destination(row.site), row.routine) << std::hex << row.site;
    }
    for (uint32_t a = 0x506FF0; a < 0x506FF6; ++a)
        EXPECT_EQ(at<uint8_t>(a), 0x90) << std::hex << a;
    EXPECT_EQ(at<uint8_t>(0x506FF6), 0xE8); // the radio display's call after the store stays
}

TEST_F(HookMap, ArrowOperandsPointAtThePluginsEightAndFour)
{
    for (uint32_t site : {0x584A1Au, 0x584A02u}) {
        uint32_t operand = at<uint32_t>(site);
        EXPECT_EQ(operand, addressOf(&arrowConstantEight));
        EXPECT_EQ(at<float>(operand), 8.0f);
    }
    for (uint32_t site : {0x584A32u, 0x584A42u}) {
        uint32_t operand = at<uint32_t>(site);
        EXPECT_EQ(operand, addressOf(&arrowConstantFour));
        EXPECT_EQ(at<float>(operand), 4.0f);
    }
    EXPECT_EQ(at<uint32_t>(0x5864BD), 0x1C0FFEEu); // the whole 32-bit setting
}

TEST_F(HookMap, HostColourArrayTakesTheTableOpaqueWithBlueTwice)
{
    sim::reachRendererStartPath();
    const HudColour expected[15] = {HUD_COLOUR_RED,        HUD_COLOUR_GREEN,     HUD_COLOUR_BLUE,
                                    HUD_COLOUR_BLUELIGHT,  HUD_COLOUR_PURE_WHITE, HUD_COLOUR_BLACK,
                                    HUD_COLOUR_ORANGE,     HUD_COLOUR_PURPLE,    HUD_COLOUR_GREY,
                                    HUD_COLOUR_REDDARK,    HUD_COLOUR_GREENDARK, HUD_COLOUR_ORANGELIGHT,
                                    HUD_COLOUR_GREYDARK,   HUD_COLOUR_BLUE,      HUD_COLOUR_YELLOW};
    for (uint32_t i = 0; i < 15; ++i) {
        Colour table = plugin.colours[expected[i]];
        Colour made = at<Colour>(sim::records::hudColourArray + 4 * i);
        EXPECT_TRUE(sameColour(made, {table.r, table.g, table.b, 255})) << i;
    }
    // Made through the host's colour constructor, not the host's own fill.
    size_t made = 0;
    for (const sim::TraceEntry& e : sim::trace::entries()) {
        EXPECT_NE(e.op, "hud_colours_fill");
        made += e.op == "make_colour" && e.byPlugin;
    }
    EXPECT_EQ(made, 15u);
}

TEST_F(HookMap, ArrowColourIsTheTablesArrowOpaque)
{
    sim::reachArrowColour();
    Colour arrow = plugin.colours[HUD_COLOUR_ARROW];
    EXPECT_TRUE(sameColour(at<Colour>(sim::records::arrowColour), {arrow.r, arrow.g, arrow.b, 255}));
}

TEST_F(HookMap, GangOverlayKeepsTheHostsColourWithTheSettingsAlphaAndSetsTheBlendEachTime)
{
    for (int call = 0; call < 2; ++call) {
        sim::trace::clear();
        sim::hostWrite<uint32_t>(sim::records::gangOverlayColour, 0);
        sim::reachGangOverlayColour();
        const uint8_t* rgba = sim::gangOverlayRgba;
        EXPECT_TRUE(sameColour(at<Colour>(sim::records::gangOverlayColour), {rgba[0], rgba[1], rgba[2], 0x34}));
        ASSERT_EQ(sim::trace::entries().size(), 1u);
        EXPECT_EQ(sim::trace::entries()[0].op, "render_state_set");
        EXPECT_EQ(sim::trace::entries()[0].args, nlohmann::json::parse("[10,5]"));
    }
    EXPECT_EQ(sim::renderStates().at(10), 5u);
}

// Host code of our own: push a word, call the replaced routine, pop the word back. A
// routine that removed an argument would make this return something else, or crash.
TEST_F(HookMap, DoNothingLeavesTheStackAsItFoundIt)
{
    constexpr uint32_t routine = 0x401200;
    sim::X86 code(routine);
    code.pushImm(0x5A5A1234).call(host::hud_extra_draw.address).raw({0x58}).ret(); // pop eax
    sim::hostWrite(routine, code.bytes().data(), static_cast<uint32_t>(code.bytes().size()));
    EXPECT_EQ(reinterpret_cast<uint32_t(KH_CDECL*)()>(uintptr_t{routine})(), 0x5A5A1234u);
    EXPECT_TRUE(sim::trace::entries().empty()); // the host's routine did not run
}

} // namespace
