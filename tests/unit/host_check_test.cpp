// The start-up's check of the host, in the test's own process over the simulated host's
// image: every place it looks at refuses when it differs, in the order and with the words
// the player sees, and the routines at addresses of ours are what the table says.

#include "app/host_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_table.h"
#include "host_build.h"
#include "host_image.h"
#include "state/plugin.h"

namespace {

enum Options : unsigned { none = 0, fonts = 1, markers = 2, onFoot = 4, vehicle = 8, all = 15 };

HudSettings settingsWith(unsigned options)
{
    HudSettings settings{};
    settings.bEnable = settings.bRadioHud = true;
    settings.bUseKellFonts = options & fonts;
    settings.bKellMarkers = options & markers;
    settings.bKellOnFootCamera = options & onFoot;
    settings.bKellVehicleCamera = options & vehicle;
    return settings;
}

HostVerdict checkWith(unsigned options)
{
    plugin.settings = settingsWith(options); // the tables read the settings from there
    return checkHostBuild(makePatchTables(plugin.settings), injector::liveHostMemory());
}

std::string message(const HostVerdict& verdict)
{
    char text[512];
    describeRefusal(verdict, "", text, sizeof text);
    return text;
}

const std::vector<uint8_t> nops(5, 0x90);

} // namespace

// One row per place: each event site, each checked row of each table, each option set with
// its setting on and off. Leaving any of them out of the check fails its row.
TEST(HostCheck, EveryCheckedPlaceRefusesWhenItDiffers)
{
    const struct {
        const char* place;
        uint32_t at;
        unsigned options;
        std::vector<uint8_t> bytes;
        bool refused;
    } cases[] = {
        {"site_frame_process", 0x53E981, none, nops, true},
        {"site_draw", 0x53E293, none, nops, true},
        {"site_draw_tail", 0x57C324, none, {0xE8, 0, 0, 0, 0}, true},
        {"site_radar_draw_a", 0x5759E4, none, nops, true},
        {"site_radar_draw_b", 0x5869BF, none, nops, true},
        {"site_renderer_start", 0x5BF3A1, none, nops, true},
        {"site_renderer_shutdown", 0x53D910, none, nops, true},
        {"site_zone_name_print", 0x58AE5D, none, {0xE8, 0, 0, 0, 0x80}, true}, // a call out of the game
        {"site_hud_draw_conditional_jump", 0x58FC2C, none, {0x90, 0x90}, true},
        {"site_draw_routine_conditional_jump", 0x53E1EC, none, {0x90, 0x90}, true},
        {"site_mission_text", 0x58D470, none, nops, true},
        {"site_arrow_colour", 0x5849E2, none, nops, true},
        {"site_gang_overlay_colour", 0x586850, none, nops, true},
        {"site_blip_dictionary_load", 0x5BA865, none, nops, true},
        {"site_font_dictionary_load", 0x5BA6A4, none, nops, false},
        {"site_font_dictionary_load", 0x5BA6A4, fonts, nops, true},
        {"site_font_data_open", 0x7187DB, fonts, nops, true},
        {"site_marker_low", 0x440F4E, all & ~markers, nops, false},
        {"site_marker_low", 0x440F4E, markers, nops, true},
        {"site_camera_on_foot", 0x527A09, all & ~onFoot, nops, false},
        {"site_camera_on_foot", 0x527A09, onFoot, nops, true},
        {"site_camera_fixed_b", 0x527BD9, onFoot, nops, true},
        {"site_camera_vehicle", 0x5279B1, all & ~vehicle, nops, false},
        {"site_camera_vehicle", 0x5279B1, vehicle, nops, true},
        // A routine's entry the plug-in replaces whole is not looked at.
        {"hud_draw", 0x58EAF0, all, nops, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.place) + " with options " + std::to_string(c.options));
        sim::buildHostImage();
        sim::hostWrite(c.at, c.bytes.data(), static_cast<uint32_t>(c.bytes.size()));
        const HostVerdict verdict = checkWith(c.options);
        ASSERT_EQ(verdict.refused(), c.refused);
        if (!c.refused)
            continue;
        EXPECT_STREQ(verdict.site.row, c.place);
        EXPECT_EQ(verdict.site.site, c.at);
        EXPECT_EQ(verdict.unconfirmed, 0u) << "a site that differs is the whole answer";
        const std::string text = message(verdict);
        EXPECT_NE(text.find("This game build is not the one Kell Hud supports"), std::string::npos) << text;
        EXPECT_NE(text.find(c.place), std::string::npos) << text;
    }
}

// The sim writes every chosen routine's entry from the table, so the table and the sim agree.
// A game whose entries differ is refused, naming how many and the first in the table's order.
TEST(HostCheck, RoutinesAtAddressesOfOursAreCheckedAtTheirEntry)
{
    unsigned chosen = 0;
    for (const host::Fact& fact : host::facts) {
        const bool isChosenFunction = fact.kind == host::FactKind::Function && fact.origin == host::Origin::Chosen;
        EXPECT_EQ(fact.entry != nullptr, isChosenFunction) << fact.name;
        chosen += isChosenFunction;
    }
    EXPECT_EQ(chosen, 73u);

    sim::buildHostImage();
    struct Count {
        unsigned routines = 0, holding = 0;
    } count;
    plugin.settings = settingsWith(all);
    checkHostPlaces(
        makePatchTables(plugin.settings), injector::liveHostMemory(),
        [](const CheckedPlace& place, void* context) {
            auto& count = *static_cast<Count*>(context);
            if (place.entry) {
                ++count.routines;
                count.holding += place.holds;
            } else {
                EXPECT_TRUE(place.holds) << place.name;
            }
        },
        &count);
    EXPECT_EQ(count.routines, chosen);
    EXPECT_EQ(count.holding, chosen);
    EXPECT_FALSE(checkWith(all).refused());

    // What a game's compiler leaves at a routine's start, at two chosen entries.
    const uint8_t prologue[] = {0x55, 0x8B, 0xEC, 0x83, 0xEC, 0x08, 0x56, 0x57};
    sim::hostWrite(host::sprite_construct.address, prologue, sizeof prologue);
    sim::hostWrite(host::text_set_alpha.address + 5, prologue, 1); // one checked byte is enough
    HostVerdict verdict = checkWith(none);
    ASSERT_TRUE(verdict.refused());
    EXPECT_FALSE(verdict.site);
    EXPECT_EQ(verdict.unconfirmed, 2u);
    EXPECT_EQ(verdict.routines, 100u);
    EXPECT_STREQ(verdict.firstUnconfirmed, "text_set_alpha");
    EXPECT_EQ(message(verdict),
              "This build of Kell Hud has not been matched to this game's code yet: 2 of the 100 game routines it "
              "calls are unconfirmed here, the first at 0x7194C0 (text_set_alpha).\n\nKell Hud has not started and "
              "has changed nothing; the game keeps its own HUD.");

    // The displacement of the sim's jump is free: a jump anywhere else still matches.
    sim::buildHostImage();
    const uint8_t elsewhere[] = {0xE9, 0x12, 0x34, 0x56, 0x78};
    sim::hostWrite(host::sprite_construct.address, elsewhere, sizeof elsewhere);
    EXPECT_FALSE(checkWith(none).refused());
}

// A page the game does not have is a mismatch, never a fault: at a routine's entry, at an
// event site, and at an entry whose last bytes run onto such a page.
TEST(HostCheck, UnreadableCodeIsAMismatchNotAFault)
{
    sim::buildHostImage();
    const uint32_t page = host::sprite_construct.address & ~(sim::pageSize - 1);
    sim::decommit(page, page + 1);
    unsigned onPage = 0;
    const char* first = nullptr;
    for (const host::Fact& fact : host::facts)
        if (fact.entry && (fact.address & ~(sim::pageSize - 1)) == page && !onPage++)
            first = fact.name;
    HostVerdict verdict = checkWith(none);
    EXPECT_EQ(verdict.unconfirmed, onPage);
    EXPECT_STREQ(verdict.firstUnconfirmed, first);

    sim::buildHostImage();
    sim::decommit(0x53E981, 0x53E982);
    verdict = checkWith(none);
    ASSERT_TRUE(verdict.site);
    EXPECT_FALSE(verdict.site.readable);
    EXPECT_NE(message(verdict).find("at 0x53E981 (site_frame_process) it expects a call into the game, and the "
                                    "game has no readable code there"),
              std::string::npos)
        << message(verdict);

    // The page after an entry gone: the entry's own first bytes are readable, its last are not.
    sim::buildHostImage();
    const uint32_t pageEnd = (host::sprite_construct.address | (sim::pageSize - 1)) + 1;
    const uint8_t jump[] = {0xE9, 0, 0, 0, 0, 0x0F, 0x0B, 0xCC};
    sim::hostWrite(pageEnd - 4, jump, 4);
    uint8_t read[8];
    sim::decommit(pageEnd, pageEnd + 1);
    EXPECT_FALSE(injector::liveHostMemory()(pageEnd - 4, read, sizeof read));
    EXPECT_TRUE(injector::liveHostMemory()(pageEnd - 4, read, 4));
    EXPECT_FALSE(injector::liveHostMemory()(0xFFFFFFFC, read, 8)) << "a span past the address space";
}

// A patch the game would not let be written once the host matched: the message names it,
// and says nothing changed only when everything written before it was put back.
TEST(HostCheck, APatchNotWrittenIsNamedWithWhetherAllWasPutBack)
{
    HostVerdict verdict;
    verdict.unwritten = {"site_radar_draw_b", 0x5869BF};
    ASSERT_TRUE(verdict.refused());
    EXPECT_EQ(message(verdict), "The game would not let Kell Hud change its code at 0x5869BF (site_radar_draw_b).\n\n"
                                "Kell Hud has not started and has changed nothing; the game keeps its own HUD.");
    verdict.restored = false;
    EXPECT_EQ(message(verdict).find("changed nothing"), std::string::npos) << message(verdict);
    EXPECT_NE(message(verdict).find("restart the game without Kell Hud"), std::string::npos) << message(verdict);
}
