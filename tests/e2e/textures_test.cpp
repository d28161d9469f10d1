// The plug-in's texture dictionaries and the host files it substitutes, through the
// simulated host's trace, with the dictionaries the build generates.

#include <gtest/gtest.h>

#include <filesystem>

#include "sim_run.h"

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// The shipped texture files, linked into the plug-in folder of a test.
void shipTextures(const TempDir& dir)
{
    fs::path from = fs::path(KELLHUD_ASSETS_DIR) / "kell-hud";
    fs::path to = fs::path(dir.path()) / "kell-hud";
    fs::create_directories(to / "data");
    fs::create_directory_symlink(from / "textures", to / "textures");
    fs::create_symlink(from / "data" / "fonts.dat", to / "data" / "fonts.dat");
}

// Copies instead, for a test that damages them.
void copyTextures(const TempDir& dir)
{
    fs::path from = fs::path(KELLHUD_ASSETS_DIR) / "kell-hud";
    fs::path to = fs::path(dir.path()) / "kell-hud";
    fs::create_directories(to / "data");
    fs::copy(from / "textures", to / "textures", fs::copy_options::recursive);
    fs::copy_file(from / "data" / "fonts.dat", to / "data" / "fonts.dat");
}

// The plug-in folder as the plug-in names it: Windows separators, trailing backslash.
std::string windowsDir(const TempDir& dir)
{
    std::string path = dir.path() + "/";
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

struct Table {
    const char* slotName;
    const char* file; // under kell-hud\textures\, for the base style
    std::vector<std::string> names;
};

const std::vector<Table>& tables()
{
    static const std::vector<Table> all = {
        {"hudkell", "hud.txd", {"star", "hud_crosshair", "hud_target", "hud_cellphone", "hud_sniper", "hud_rocket",
                                "hud_crosshair_fps"}},
        {"radarkell", "radar.txd", {"radarringfront", "radarringback", "radarringmask", "radarringplane"}},
        {"blipskell", "blips.txd", {"radar_higher", "radar_lower", "radar_level"}},
        {"weaponskell", "weapons.txd", {"ak47", "bat", "brassknuckle", "camera", "chnsaw", "chromegun", "colt45",
                                        "cuntgun", "desert_eagle", "detonator", "fire_ex", "flame", "flowera",
                                        "goggles", "golfclub", "grenade", "gun_cane", "gun_dildo1", "gun_dildo2",
                                        "gun_para", "gun_vibe1", "gun_vibe2", "heatseek", "katana", "knifecur", "m4",
                                        "micro_uzi", "minigun", "molotov", "mp5lng", "nitestick", "poolcue",
                                        "rocketla", "satchel", "sawnoff", "shotgspa", "shovel", "silenced", "sniper",
                                        "spraycan", "teargas", "tec9", "unarmed"}},
        {"radioHud", "radio_hud.txd", {"radio_playback", "radio_krose", "radio_kdst", "radio_bounce", "radio_sfur",
                                       "radio_rls", "radio_radiox", "radio_csr", "radio_kjah", "radio_mastersounds",
                                       "radio_wctr", "radio_tplayer", "radio_off"}},
        {"progress_bar", "progress_bars.txd", {"00", "10", "20", "30", "40", "50", "60", "70", "80", "90", "100",
                                               "110", "120", "130", "140", "150", "160", "170", "180", "190"}},
    };
    return all;
}

// The plug-in's dictionary and sprite-handle calls in a frame, from a trace index on.
std::vector<json> byPlugin(const SimRun& run, int frame, size_t from = 0)
{
    std::vector<json> calls;
    for (size_t i = from; i < run.trace.size(); ++i) {
        const json& e = run.trace[i];
        std::string op = e["op"];
        bool textureOp = op.rfind("txd_", 0) == 0 || (op.rfind("sprite_", 0) == 0 && op.rfind("sprite_draw", 0) != 0);
        if (e["frame"] == frame && e["by"] == "plugin" && textureOp)
            calls.push_back(e);
    }
    return calls;
}

// The index in the trace of the first call of an operation.
size_t firstIndex(const SimRun& run, const std::string& op)
{
    for (size_t i = 0; i < run.trace.size(); ++i)
        if (run.trace[i]["op"] == op)
            return i;
    return run.trace.size();
}

SimRun runWith(const TempDir& dir, const std::string& settings, std::vector<std::string> args = {})
{
    writeSettings(dir, settings);
    return runSim(dir, args);
}

// The files of the loads the plug-in made, in order.
std::vector<std::string> pluginLoads(const SimRun& run)
{
    std::vector<std::string> files;
    for (const json& e : run.calls("txd_load"))
        if (e["by"] == "plugin")
            files.push_back(e["args"][1]);
    return files;
}

TEST(Textures, LoadedAfterTheRendererStartsTableByTableAndBoundByNameFromTheirOwnSlot)
{
    TempDir dir;
    shipTextures(dir);
    SimRun run = runWith(dir, "bEnable = 1\n", {"--frames", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");

    // Bound only after the host's own function at the renderer-started site.
    size_t rendererStart = firstIndex(run, "renderer_start");
    ASSERT_LT(rendererStart, run.trace.size());
    for (size_t i = 0; i < rendererStart; ++i)
        EXPECT_FALSE(run.trace[i]["by"] == "plugin" && run.trace[i]["op"] == "sprite_set_texture") << i;

    // After the host's function: the plug-in's loading (before it, the blip replacement).
    std::vector<json> calls = byPlugin(run, 1, rendererStart);
    size_t at = 0;
    int serial = 1;
    auto next = [&](const char* op) -> json {
        if (at >= calls.size()) {
            ADD_FAILURE() << "the trace ends before " << op;
            return json::object({{"args", json::array()}, {"result", nullptr}});
        }
        EXPECT_EQ(calls[at]["op"], op) << "call " << at;
        return calls[at++];
    };
    for (const Table& table : tables()) {
        json add = next("txd_add_slot");
        EXPECT_EQ(add["args"], json::array({table.slotName}));
        json slot = add["result"];
        json load = next("txd_load");
        EXPECT_EQ(load["args"], json::array({slot, windowsDir(dir) + "kell-hud\\textures\\" + table.file}));
        EXPECT_EQ(load["result"], true);
        EXPECT_EQ(next("txd_add_ref")["args"], json::array({slot}));
        next("txd_push_current");
        EXPECT_EQ(next("txd_set_current")["args"], json::array({slot}));
        for (const std::string& name : table.names) {
            json bind = next("sprite_set_texture");
            EXPECT_EQ(bind["args"], json::array({serial++, name}));
            EXPECT_EQ(bind["result"], name) << "the shipped " << table.file << " lacks " << name;
        }
        next("txd_pop_current");
    }
    EXPECT_EQ(at, calls.size());
    EXPECT_EQ(serial, 91);
    EXPECT_TRUE(byPlugin(run, 2).empty()); // once, not per frame
}

TEST(Textures, TheStyleVariantPicksTheRadarAndFontDictionariesOnly)
{
    const std::pair<int, const char*> styles[] = {{0, ""}, {1, "mora\\"}, {2, "sabel\\"}, {3, ""}, {-1, ""}};
    for (const auto& [vesk, folder] : styles) {
        TempDir dir;
        shipTextures(dir);
        SimRun run = runWith(dir, "bEnable = 1\nbUseKellFonts = 1\niVesk = " + std::to_string(vesk) + "\n");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "") << vesk;
        std::string textures = windowsDir(dir) + "kell-hud\\textures\\";
        EXPECT_EQ(pluginLoads(run),
                  (std::vector<std::string>{textures + folder + "fonts.txd", textures + "blips.txd",
                                            textures + "hud.txd", textures + folder + "radar.txd",
                                            textures + "blips.txd", textures + "weapons.txd",
                                            textures + "radio_hud.txd", textures + "progress_bars.txd"}))
            << "iVesk " << vesk;
        for (const json& e : run.calls("sprite_set_texture"))
            EXPECT_EQ(e["result"], e["args"][1]) << "iVesk " << vesk;
    }
}

TEST(Textures, TheHostsLoadsTakeThePluginsFilesInTheHostsOwnSlots)
{
    TempDir dir;
    shipTextures(dir);
    SimRun run = runWith(dir, "bEnable = 1\nbUseKellFonts = 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, ""); // the font data read as the host reads it

    std::vector<json> slots = run.calls("txd_add_slot");
    ASSERT_GE(slots.size(), 2u);
    EXPECT_EQ(slots[0]["args"], json::array({"fonts"}));
    EXPECT_EQ(slots[0]["by"], "host");
    EXPECT_EQ(slots[1]["args"], json::array({"hud"}));
    std::vector<json> loads = run.calls("txd_load");
    EXPECT_EQ(loads[0]["args"], json::array({slots[0]["result"], windowsDir(dir) + "kell-hud\\textures\\fonts.txd"}));
    EXPECT_EQ(loads[1]["args"], json::array({slots[1]["result"], windowsDir(dir) + "kell-hud\\textures\\blips.txd"}));
    std::vector<json> opens = run.calls("file_open");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0]["args"], json::array({windowsDir(dir) + "kell-hud\\data\\fonts.dat", "rb"}));
    EXPECT_EQ(opens[0]["by"], "plugin");
    EXPECT_NE(opens[0]["result"], 0);

    // The host then finds every texture it looks up by name in our files: its font
    // sheets and its blip sprites, the roll indicator's slot 2 among them.
    int hostBound = 0;
    for (const json& e : run.calls("sprite_set_texture"))
        if (e["by"] == "host") {
            EXPECT_EQ(e["result"], e["args"][1]) << e.dump();
            ++hostBound;
            if (e["args"][0] == "0xBAA258") {
                EXPECT_EQ(e["result"], "radar_centre");
            }
        }
    EXPECT_EQ(hostBound, 2 + 10);
    EXPECT_TRUE(run.patched(0x5BA6A4) && run.patched(0x7187DB) && run.patched(0x5BA865));
}

TEST(Textures, WithoutKellFontsTheHostKeepsItsFontsButTakesOurBlips)
{
    TempDir dir;
    shipTextures(dir);
    SimRun run = runWith(dir, "bEnable = 1\nbUseKellFonts = 0\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(run.patched(0x5BA6A4));
    EXPECT_FALSE(run.patched(0x7187DB));
    EXPECT_TRUE(run.patched(0x5BA865));

    std::vector<json> loads = run.calls("txd_load");
    EXPECT_EQ(loads[0]["args"][1], "models\\fonts.txd");
    EXPECT_EQ(loads[0]["by"], "host");
    EXPECT_EQ(loads[1]["args"][1], windowsDir(dir) + "kell-hud\\textures\\blips.txd");
    EXPECT_EQ(loads[1]["by"], "plugin");
    std::vector<json> opens = run.calls("file_open");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0]["args"], json::array({"data\\fonts.dat", "rb"}));
    EXPECT_EQ(opens[0]["by"], "host");
}

TEST(Textures, DisabledTheHostLoadsOnlyItsOwnFiles)
{
    TempDir dir;
    shipTextures(dir);
    SimRun run = runWith(dir, "bEnable = 0\nbUseKellFonts = 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<json> loads = run.calls("txd_load");
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_EQ(loads[0]["args"][1], "models\\fonts.txd");
    EXPECT_EQ(loads[1]["args"][1], "models\\hud.txd");
    EXPECT_TRUE(byPlugin(run, 1).empty());
}

TEST(Textures, ReleasedBeforeTheHostShutsDownAndEverySlotFreedByItsName)
{
    TempDir dir;
    shipTextures(dir);
    SimRun run = runWith(dir, "bEnable = 1\n", {"--frames", "3"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, ""); // no slot removed that was not there

    std::map<std::string, json> loadedSlot;
    for (const json& e : run.calls("txd_add_slot"))
        loadedSlot[e["args"][0]] = e["result"];

    std::vector<json> calls = byPlugin(run, 4);
    size_t at = 0;
    int serial = 1;
    for (const Table& table : tables()) {
        for (size_t i = 0; i < table.names.size(); ++i, ++at) {
            ASSERT_LT(at, calls.size());
            EXPECT_EQ(calls[at]["op"], "sprite_release");
            EXPECT_EQ(calls[at]["args"], json::array({serial++}));
        }
        ASSERT_LT(at + 1, calls.size());
        EXPECT_EQ(calls[at]["op"], "txd_find_slot");
        EXPECT_EQ(calls[at]["args"], json::array({table.slotName}));
        EXPECT_EQ(calls[at]["result"], loadedSlot[table.slotName]);
        EXPECT_EQ(calls[at + 1]["op"], "txd_remove_slot");
        EXPECT_EQ(calls[at + 1]["args"], json::array({loadedSlot[table.slotName]}));
        at += 2;
    }
    // Then the unload unmakes the handles; nothing binds them again.
    for (; at < calls.size(); ++at)
        EXPECT_EQ(calls[at]["op"], "sprite_destruct");

    // All of it before the host's own shutdown call.
    size_t shutdown = firstIndex(run, "renderer_shutdown");
    EXPECT_LT(shutdown, run.trace.size());
    for (size_t i = shutdown; i < run.trace.size(); ++i)
        EXPECT_NE(run.trace[i]["op"], "txd_remove_slot");
}

// The renderer shut down in frame 2 and started again in frame 3: everything is loaded and
// bound again by the same steps, into slots that are then there to free. Started never, it
// shuts down once at the end with nothing of ours to remove.
TEST(Textures, ASecondStartLoadsAgainAndAShutdownWithoutAStartRemovesNothing)
{
    TempDir dir;
    shipTextures(dir);
    writeSettings(dir, "bEnable = 1\n");
    SimRun restarted = runSim(dir, {"--scenario", dir.write("restart.json", R"({"frames": 3, "renderer": [
        {"frame": 1, "event": "start"}, {"frame": 2, "event": "shutdown"}, {"frame": 3, "event": "start"}]})")});
    ASSERT_EQ(restarted.exitCode, 0) << restarted.err;
    EXPECT_EQ(restarted.err, "");
    auto ops = [&](int frame) {
        std::vector<std::string> found;
        for (const json& e : byPlugin(restarted, frame))
            found.push_back(e["op"]);
        return found;
    };
    const std::vector<std::string> loading = ops(1);
    ASSERT_GE(loading.size(), 6 * 6 + 90u); // and the redirected loads of the host's own path
    EXPECT_EQ(ops(3), loading);
    const std::vector<std::string> releasing = ops(2);
    EXPECT_EQ(releasing.size(), 90 + 2 * 6u);
    std::vector<std::string> atEnd = ops(4);
    atEnd.resize(releasing.size());
    EXPECT_EQ(atEnd, releasing);
    for (const json& e : restarted.calls("sprite_set_texture"))
        if (e["frame"] == 3 && e["by"] == "plugin") {
            EXPECT_EQ(e["result"], e["args"][1]);
        }
    // The host's own start path ran again with them.
    EXPECT_EQ(restarted.calls("renderer_start").size(), 2u);
    EXPECT_EQ(restarted.calls("renderer_shutdown").size(), 2u);

    SimRun never = runSim(dir, {"--scenario", dir.write("never.json", R"({"frames": 2, "renderer": []})")});
    ASSERT_EQ(never.exitCode, 0) << never.err;
    EXPECT_EQ(never.err, ""); // no slot removed that was not there
    EXPECT_TRUE(never.calls("txd_load").empty());
    EXPECT_TRUE(never.calls("txd_remove_slot").empty());
    EXPECT_EQ(never.calls("txd_find_slot").size(), 6u);
    EXPECT_EQ(never.calls("renderer_shutdown").size(), 1u);
}

TEST(Textures, SpriteTablesAreUnmadeInTheReverseOfTheirMaking)
{
    TempDir dir;
    shipTextures(dir);
    SimRun run = runWith(dir, "bEnable = 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<json> made = run.calls("sprite_construct");
    std::vector<json> unmade = run.calls("sprite_destruct");
    ASSERT_EQ(made.size(), 90u);
    ASSERT_EQ(unmade.size(), 90u);
    for (int i = 0; i < 90; ++i) {
        EXPECT_EQ(made[i]["args"], json::array({i + 1}));
        EXPECT_EQ(unmade[i]["args"], json::array({90 - i})); // progress bars first, hud last
    }
    EXPECT_GT(firstIndex(run, "sprite_destruct"), firstIndex(run, "renderer_shutdown"));
}

TEST(Textures, AMissingOrDamagedFileLeavesItsSpritesEmpty)
{
    TempDir dir;
    copyTextures(dir);
    fs::path textures = fs::path(dir.path()) / "kell-hud" / "textures";
    fs::remove(textures / "weapons.txd");
    fs::copy_file(KELLHUD_FIXTURES_DIR "/txd/truncated.txd", textures / "radio_hud.txd",
                  fs::copy_options::overwrite_existing);
    SimRun run = runWith(dir, "bEnable = 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;

    std::map<std::string, json> loaded;
    for (const json& e : run.calls("txd_load"))
        loaded[e["args"][1]] = e["result"];
    std::string base = windowsDir(dir) + "kell-hud\\textures\\";
    EXPECT_EQ(loaded[base + "weapons.txd"], false);
    EXPECT_EQ(loaded[base + "radio_hud.txd"], false);
    EXPECT_EQ(loaded[base + "hud.txd"], true);
    // A missing file is ordinary; a damaged one is worth a word to its maker.
    EXPECT_EQ(run.err.find("weapons.txd"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("radio_hud.txd: the texture dictionary chunk claims"), std::string::npos) << run.err;

    int empty = 0, bound = 0;
    for (const json& e : run.calls("sprite_set_texture"))
        if (e["by"] == "plugin")
            (e["result"].is_null() ? empty : bound) += 1;
    EXPECT_EQ(empty, 43 + 13);
    EXPECT_EQ(bound, 90 - 43 - 13);

    // The run says so first, and sums up what is missing; its exit code says the data were not clean.
    const std::string files = dir.path() + "/kell-hud/textures/";
    EXPECT_TRUE(run.dataFindings);
    EXPECT_EQ(run.out.rfind(dir.path() + "/kell-hud/", 0), 0u) << run.out;
    EXPECT_LT(run.out.find(files + "weapons.txd: error: cannot be read as a texture dictionary"),
              run.out.find("Kell Hud in the simulated host"))
        << run.out;
    EXPECT_NE(run.out.find("\n  missing textures: " + files + "weapons.txd: all (the file cannot be read); " + files +
                           "radio_hud.txd: all (the file cannot be read)\n"),
              std::string::npos)
        << run.out;
}

} // namespace
