// The start-up as the host's loader runs it: the real library, loaded by the simulated host.

#include <gtest/gtest.h>

#include "sim_run.h"

namespace {

const char everythingOn[] = "bEnableHotKey = 1\nbStatsBox = 1\nbCellphone = 1\nbRadioHud = 1\n"
                            "bUseKellFonts = 1\nbKellOnFootCamera = 1\nbKellVehicleCamera = 1\nbKellMarkers = 1\n";

// The seven host-event sites, in address order.
const uint32_t eventSites[] = {0x53D910, 0x53E293, 0x53E981, 0x5759E4, 0x57C324, 0x5869BF, 0x5BF3A1};

std::vector<uint32_t> patchedEventSites(const SimRun& run)
{
    std::vector<uint32_t> sites;
    for (uint32_t site : eventSites)
        if (run.patched(site))
            sites.push_back(site);
    return sites;
}

// Disabled, or without a settings file: not one byte patched and not one host routine
// called, from loading to unloading (not even the sprite tables are made), and no word to
// the player, even on a host whose routines differ from ours.
TEST(StartUp, DisabledPatchesAndCallsNothingWhateverElseIsSet)
{
    for (const char* gate : {"", "bEnable = 0\n", "bEnable = no\n", "bEnable\n", "; bEnable = 1\n"}) {
        TempDir dir;
        if (*gate)
            writeSettings(dir, std::string(gate) + everythingOn);
        dir.write("scenario.json",
                  R"({"frames": 2, "host_bytes": [{"addr": "0x727230", "bytes": "55 8B EC 83 EC 08 56 57"}]})");
        SimRun run = runSim(dir, {"--scenario", dir.path() + "/scenario.json"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(run.patches.empty()) << gate;
        EXPECT_EQ(run.pluginCalls(), 0u) << gate;
        EXPECT_EQ(run.out.find("message box"), std::string::npos) << gate << run.out;
    }
}

TEST(StartUp, EnabledInterceptsAllSevenEventSites)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\n");
    SimRun run = runSim(dir);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // The arrival check takes the frame processing and the route band both radar overlay
    // sites, whatever the settings.
    EXPECT_EQ(patchedEventSites(run), std::vector<uint32_t>(std::begin(eventSites), std::end(eventSites)));
    EXPECT_TRUE(run.patched(0x5BA865)); // the blip dictionary, whatever the settings
}

TEST(StartUp, UnloadPutsEveryEventSiteBack)
{
    TempDir dir;
    writeSettings(dir, std::string("bEnable = 1\n") + everythingOn);
    SimRun run = runSim(dir, {"--unload", "--frames", "3"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(patchedEventSites(run).empty());
    // The hook maps and the texture installer's redirections stay (the maps are tested
    // with them).
    EXPECT_TRUE(run.patched(0x5BA6A4) && run.patched(0x7187DB) && run.patched(0x5BA865));
    EXPECT_EQ(run.err, "");
}

TEST(StartUp, SpriteHandlesAreMadeAtLoadAndUnmadeAtUnload)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\n");
    SimRun run = runSim(dir, {"--frames", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto made = run.calls("sprite_construct");
    auto unmade = run.calls("sprite_destruct");
    ASSERT_EQ(made.size(), 90u);
    ASSERT_EQ(unmade.size(), 90u);
    EXPECT_EQ(made.front()["frame"], 0);
    EXPECT_EQ(unmade.front()["frame"], 2);
    EXPECT_EQ(made.front()["by"], "plugin");
}

} // namespace
