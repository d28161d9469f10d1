// The host check: a site that holds something other than the supported game build's code
// refuses every patch, the player is told once, and the right host patches as before.

#include <gtest/gtest.h>

#include <string>

#include "sim_run.h"

namespace {

// A refused start-up: not one byte patched, no host call of the plug-in's, and one message
// box; its text, or "" when there was none.
std::string refusalTold(const SimRun& run, size_t box)
{
    EXPECT_TRUE(run.patches.empty()) << run.patches.size() << " runs patched";
    EXPECT_EQ(run.pluginCalls(), 0u);
    EXPECT_NE(box, std::string::npos) << run.out;
    if (box == std::string::npos)
        return "";
    EXPECT_EQ(run.out.find("message box", box + 1), std::string::npos) << "told more than once: " << run.out;
    return run.out.substr(box);
}

struct Case {
    int frames; // 0 where the host would crash on the laid bytes themselves
    const char* settings;  // lines added to bEnable = 1
    const char* addr;      // where other bytes are laid, or nullptr
    const char* bytes;
    const char* refusedAt; // what the message names, or nullptr: patched as usual
};

TEST(HostCheck, OneSiteThatDiffersRefusesEveryPatchAndSaysWhere)
{
    const Case cases[] = {
        {2, "", nullptr, nullptr, nullptr},
        {2, "", "0x58AE02", "90 90 90 90 90",
         "at 0x58AE02 (site_zone_name_colour) it expects a call into the game, and found 90 90 90 90 90"},
        {2, "", "0x58AE02", "E8 00 00 00 80", "0x58AE02 (site_zone_name_colour) it expects a call into the game, and found E8 00 00 00 80"},
        {2, "", "0x53E293", "E9 00 00 00 00", "at 0x53E293 (site_draw) it expects a call"},
        {0, "", "0x57C324", "E8 00 00 00 00", "at 0x57C324 (site_draw_tail) it expects a jump into the game"},
        {2, "", "0x58FC2C", "90 90", "at 0x58FC2C (site_hud_draw_conditional_jump) it expects a conditional short jump, and found 90 90"},
        {0, "", "0x586850", "90 90 90 90 90", "at 0x586850 (site_gang_overlay_colour)"},
        {2, "", "0x5BA865", "90 90 90 90 90", "at 0x5BA865 (site_blip_dictionary_load)"},
        // The option sets are checked only when they are on.
        {2, "bKellMarkers = 0\nbUseKellFonts = 0", "0x726DD2", "90 90 90 90 90", nullptr},
        {2, "bKellMarkers = 1", "0x726DD2", "90 90 90 90 90", "at 0x726DD2 (site_marker_host_colour)"},
        {2, "bUseKellFonts = 0", "0x5BA6A4", "90 90 90 90 90", nullptr},
        {2, "bUseKellFonts = 1", "0x5BA6A4", "90 90 90 90 90", "at 0x5BA6A4 (site_font_dictionary_load)"},
        {2, "bKellVehicleCamera = 1", "0x5279B1", "90 90 90 90 90", "at 0x5279B1 (site_camera_vehicle)"},
        // A routine at an address of ours that is not what the table says: nothing is called,
        // not even the sprite tables' constructor, whose routine this is.
        {2, "", "0x727230", "55 8B EC 83 EC 08 56 57",
         "not been matched to this game's code yet: 1 of the 100 game routines it calls is unconfirmed here, the "
         "first at 0x727230 (sprite_construct)"},
        // Bytes the check does not look at (a function's entry) are patched over as before.
        {2, "", "0x58EAF0", "90 90 90 90 90", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.settings) + " " + (c.addr ? c.addr : "the supported host"));
        TempDir dir;
        writeSettings(dir, std::string("bEnable = 1\nbEnableHotKey = 1\n") + c.settings + "\n");
        std::string scenario = R"({"frames": )" + std::to_string(c.frames);
        if (c.addr)
            scenario += std::string(R"(, "host_bytes": [{"addr": ")") + c.addr + R"(", "bytes": ")" + c.bytes + R"("}])";
        dir.write("scenario.json", scenario + "}");
        SimRun run = runSim(dir, {"--scenario", dir.path() + "/scenario.json"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const size_t box = run.out.find("message box \"Kell Hud\": ");
        if (!c.refusedAt) {
            EXPECT_FALSE(run.patches.empty());
            EXPECT_EQ(box, std::string::npos) << run.out;
            continue;
        }
        // Not one byte, not one event site, and the host runs on without the plug-in.
        const std::string text = refusalTold(run, box);
        EXPECT_NE(text.find(c.refusedAt), std::string::npos) << text;
        EXPECT_NE(text.find("Kell Hud has not started and has changed nothing"), std::string::npos) << text;
    }
}

} // namespace

// A patch the game will not let be written, wherever it comes in the start-up's order (an
// event site, a hook map's row, the texture installer, a second radar overlay site, the
// last option set): every byte written before it is put back, nothing of the plug-in runs,
// and the player is told once which patch and that nothing changed.
TEST(HostCheck, APatchTheGameWillNotLetBeWrittenPutsEveryByteBack)
{
    const struct {
        const char* settings;
        const char* refused;
        const char* message; // nullptr: patched as usual
    } cases[] = {
        {"", "0x57C326", "at 0x57C324 (site_draw_tail)"},
        {"", "0x58A820", "at 0x58A818 (site_radar_draw_stores_a)"},
        {"", "0x5869BF", "at 0x5869BF (site_radar_draw_b)"},
        {"bUseKellFonts = 1", "0x5BA865", "at 0x5BA865 (site_blip_dictionary_load)"},
        {"", "0x53D914", "at 0x53D910 (site_renderer_shutdown)"},
        {"bUseKellFonts = 1\nbKellMarkers = 1\nbKellOnFootCamera = 1\nbKellVehicleCamera = 1", "0x5279B1",
         "at 0x5279B1 (site_camera_vehicle)"},
        {"bKellVehicleCamera = 0", "0x5279B1", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.settings) + " " + c.refused);
        TempDir dir;
        writeSettings(dir, std::string("bEnable = 1\nbEnableHotKey = 1\nbRadioHud = 1\n") + c.settings + "\n");
        dir.write("scenario.json", std::string(R"({"frames": 2, "protection_refused": [")") + c.refused + R"("]})");
        SimRun run = runSim(dir, {"--scenario", dir.path() + "/scenario.json"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const size_t box = run.out.find("message box \"Kell Hud\": ");
        if (!c.message) {
            EXPECT_GT(run.pluginCalls(), 0u);
            EXPECT_EQ(box, std::string::npos) << run.out;
            continue;
        }
        const std::string text = refusalTold(run, box);
        EXPECT_NE(text.find(std::string("The game would not let Kell Hud change its code ") + c.message), std::string::npos)
            << text;
        EXPECT_NE(text.find("Kell Hud has not started and has changed nothing"), std::string::npos) << text;
    }
}

// A game out of memory while the plug-in patches the game: whichever of its last
// allocations at start-up fails (those of the event lists it subscribes to), it starts
// whole or leaves every host byte as it was and never calls the game. (An allocation that
// fails while the settings are read leaves the defaults, an earlier and other story.)
TEST(HostCheck, OutOfMemoryWhileStartingLeavesNoPatchBehind)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\nbEnableHotKey = 1\nbRadioHud = 1\n");
    auto failingAt = [&](uint32_t n, int frames) {
        dir.write("scenario.json",
                  "{\"frames\": " + std::to_string(frames) + ", \"heap_fails_at\": " + std::to_string(n) + "}");
        return runSim(dir, {"--scenario", dir.path() + "/scenario.json"});
    };
    const SimRun counted = failingAt(1000000000, 0);
    const std::string made = "out of memory never came: the plug-in made ";
    const size_t at = counted.out.find(made);
    ASSERT_NE(at, std::string::npos) << counted.out;
    const uint32_t startUpNews = static_cast<uint32_t>(std::stoul(counted.out.substr(at + made.size())));
    ASSERT_GT(startUpNews, 10u);
    int refused = 0;
    for (uint32_t n = startUpNews - 6; n <= startUpNews; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(startUpNews));
        const SimRun run = failingAt(n, 2);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.out.find("out of memory: the plug-in's allocation " + std::to_string(n)), std::string::npos);
        if (!run.patches.empty()) {
            EXPECT_EQ(run.patches, counted.patches) << "a start-up cut short left patches behind";
            continue;
        }
        ++refused;
        EXPECT_EQ(run.pluginCalls(), 0u);
    }
    EXPECT_GT(refused, 0) << "no failure fell into the patching";
}
