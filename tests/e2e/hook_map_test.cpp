// The HUD and radar hook maps as the simulated host sees them: the bytes changed at
// start-up, and the host routines they lead away from.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "sim_run.h"

namespace {

using nlohmann::json;

// Every changed byte of a patch listing (or, with `all`, every byte it shows, also the
// unchanged ones inside a run): address -> (before, after).
using ByteMap = std::map<uint32_t, std::pair<uint8_t, uint8_t>>;

ByteMap changedBytes(const std::vector<json>& patches, bool all = false)
{
    ByteMap bytes;
    for (const json& p : patches) {
        uint32_t addr = static_cast<uint32_t>(std::stoul(p["addr"].get<std::string>(), nullptr, 16));
        std::string before = p["before"], after = p["after"];
        for (size_t i = 0; i < before.size() / 2; ++i) {
            auto b = static_cast<uint8_t>(std::stoul(before.substr(2 * i, 2), nullptr, 16));
            auto a = static_cast<uint8_t>(std::stoul(after.substr(2 * i, 2), nullptr, 16));
            if (all || a != b)
                bytes[addr + static_cast<uint32_t>(i)] = {b, a};
        }
    }
    return bytes;
}

// The bytes after the patch in [address, address + size); unchanged bytes from `before`.
std::vector<uint8_t> after(const ByteMap& bytes, uint32_t address, const std::vector<uint8_t>& before)
{
    std::vector<uint8_t> out = before;
    for (uint32_t i = 0; i < before.size(); ++i)
        if (auto it = bytes.find(address + i); it != bytes.end()) {
            EXPECT_EQ(it->second.first, before[i]) << std::hex << address + i;
            out[i] = it->second.second;
        }
    return out;
}

uint32_t word(const std::vector<uint8_t>& b, size_t at = 0)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t{b[at + 3]} << 24;
}

std::vector<uint8_t> bytesOf(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

bool inHostImage(uint32_t address) { return address >= 0x400000 && address < 0xD00000; }

struct Span {
    uint32_t address, size;
};

// The rows of both maps, by kind.
const Span callRows[] = {{0x58AE5D, 5}, {0x58AE02, 5}, {0x58B156, 5}, {0x58B0ED, 5},
                         {0x5849E2, 5}, {0x586850, 5}, {0x588722, 5},
                         {0x58C68A, 5}, {0x58FCFA, 5}, {0x573EF4, 5}, {0x71A7EE, 5}, {0x58D470, 5}};
const uint32_t callTargets[] = {0x71A700, 0x719430, 0x71A700, 0x719430, 0x7170C0, 0x7170C0, 0x5876C0,
                                0x71A700, 0x58B5A0, 0x727B60, 0x727B60, 0x71A700};
const Span jumpRows[] = {{0x58FDA0, 5}, {0x58EAF0, 5}, {0x514860, 5}, {0x585FF0, 5}, {0x584070, 5},
                         {0x583480, 5}, {0x58A330, 5}, {0x728640, 5}, {0x58E020, 5}, {0x4E9E50, 5}};
// The one jump written inside a host function, over two instructions of the map drawing.
const Span blendRow = {0x58641A, 5};
const std::vector<uint8_t> blendRowBefore = {0x8A, 0x44, 0x24, 0x13, 0x84};
// The radio rows, live with bRadioHud: the jump at 0x4E9E50 (among the jump rows) and the
// host's 6-byte store of a radio word at 0x506FF0, made no-operations.
const Span radioRows[] = {{0x4E9E50, 5}, {0x506FF0, 6}};
const std::vector<uint8_t> radioStoreBefore = {0x89, 0x0D, 0x70, 0x13, 0xCE, 0x00};
// The event sites the start-up takes (the radar map's arrival check and route band take
// the frame processing and both radar overlay sites), and the texture installer's
// redirection that every start-up makes (the blip dictionary).
const Span eventSites[] = {{0x53E293, 5}, {0x57C324, 5}, {0x53D910, 5}, {0x5BF3A1, 5},
                           {0x53E981, 5}, {0x5759E4, 5}, {0x5869BF, 5}};
const Span textureRows[] = {{0x5BA865, 5}};

const std::string nopRun = "C744241000000000C744241400000000";

// The bytes of every row that has a fixed value, and the float operands.
void expectFixedRows(const ByteMap& bytes)
{
    for (uint32_t site : {0x58FC2Cu, 0x53E1ECu})
        EXPECT_EQ(after(bytes, site, {0x74}), std::vector<uint8_t>{0xEB}) << std::hex << site;
    for (uint32_t site : {0x58FBDBu, 0x58CC6Au, 0x58CA30u, 0x586AC4u})
        EXPECT_EQ(word(after(bytes, site, bytesOf(2))), 5u) << std::hex << site;
    EXPECT_EQ(word(after(bytes, 0x5864BD, bytesOf(255))), 70000u);
    for (uint32_t site : {0x58A818u, 0x58A8C2u, 0x58A96Cu, 0x58AA1Au}) {
        std::vector<uint8_t> before;
        for (size_t i = 0; i < nopRun.size(); i += 2)
            before.push_back(static_cast<uint8_t>(std::stoul(nopRun.substr(i, 2), nullptr, 16)));
        EXPECT_EQ(after(bytes, site, before), std::vector<uint8_t>(16, 0x90)) << std::hex << site;
    }
    EXPECT_EQ(after(bytes, 0x506FF0, radioStoreBefore), std::vector<uint8_t>(6, 0x90));
    // The host's two constants are replaced by two of the plug-in's, one for each pair.
    uint32_t eightA = word(after(bytes, 0x584A1A, bytesOf(0xCE1360)));
    uint32_t eightB = word(after(bytes, 0x584A02, bytesOf(0xCE1360)));
    uint32_t fourA = word(after(bytes, 0x584A32, bytesOf(0xCE1364)));
    uint32_t fourB = word(after(bytes, 0x584A42, bytesOf(0xCE1364)));
    EXPECT_EQ(eightA, eightB);
    EXPECT_EQ(fourA, fourB);
    EXPECT_NE(eightA, fourA);
    EXPECT_FALSE(inHostImage(eightA) || inHostImage(fourA));
}

// Every changed byte belongs to a live row (or an event site when `events`), and every live
// row changed.
void expectOnlyLiveRows(const ByteMap& bytes, bool events)
{
    std::vector<Span> live = {{0x58FC2C, 1}, {0x53E1EC, 1}, {0x58FBDB, 4}, {0x58CC6A, 4}, {0x58CA30, 4},
                              {0x586AC4, 4}, {0x5864BD, 4}, {0x58A818, 16}, {0x58A8C2, 16}, {0x58A96C, 16},
                              {0x58AA1A, 16}, {0x584A1A, 4}, {0x584A02, 4}, {0x584A32, 4}, {0x584A42, 4},
                              {0x506FF0, 6}};
    live.insert(live.end(), std::begin(callRows), std::end(callRows));
    live.insert(live.end(), std::begin(jumpRows), std::end(jumpRows));
    live.insert(live.end(), std::begin(textureRows), std::end(textureRows));
    live.push_back(blendRow);
    auto within = [](uint32_t a, const Span& s) { return a >= s.address && a < s.address + s.size; };
    for (const auto& [address, change] : bytes) {
        bool found = false;
        for (const Span& s : live)
            found |= within(address, s);
        for (const Span& s : eventSites)
            found |= events && within(address, s);
        EXPECT_TRUE(found) << "unexpected change at 0x" << std::hex << address;
    }
    for (const Span& s : live) {
        bool changed = false;
        for (uint32_t a = s.address; a < s.address + s.size; ++a)
            changed |= bytes.count(a) > 0;
        EXPECT_TRUE(changed) << "row not patched: 0x" << std::hex << s.address;
    }
}

// Call rows keep their opcode and call into the plug-in; jump rows now leave the image.
void expectBranchRows(const ByteMap& bytes)
{
    for (size_t i = 0; i < std::size(callRows); ++i) {
        uint32_t site = callRows[i].address;
        EXPECT_EQ(bytes.count(site), 0u) << "call opcode kept at 0x" << std::hex << site;
        uint32_t target = site + 5 + word(after(bytes, site + 1, bytesOf(callTargets[i] - (site + 5))));
        EXPECT_FALSE(inHostImage(target)) << std::hex << site;
    }
    for (const Span& row : jumpRows)
        EXPECT_EQ(bytes.count(row.address), 0u) << "jump opcode kept at 0x" << std::hex << row.address;
    std::vector<uint8_t> blend = after(bytes, blendRow.address, blendRowBefore);
    EXPECT_EQ(blend[0], 0xE9);
    EXPECT_FALSE(inHostImage(blendRow.address + 5 + word(blend, 1)));
}

const char mapSettings[] = "bEnable = 1\nbRadioHud = 1\niRadarAlpha = 70000\niGangOverlayAlpha = 300\n";

TEST(HookMapPatches, StartUpPatchesExactlyTheLiveRows)
{
    TempDir dir;
    writeSettings(dir, mapSettings);
    SimRun run = runSim(dir);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ByteMap bytes = changedBytes(run.patches);
    expectOnlyLiveRows(bytes, true);
    expectFixedRows(bytes);
    expectBranchRows(bytes);

    // Each run names its row: the site, or the host function replaced from its entry.
    const std::map<uint32_t, std::string> named = {{0x58FC2C, "site_hud_draw_conditional_jump"},
                                                   {0x5864BD, "site_radar_map_alpha"},
                                                   {0x58A818, "site_radar_draw_stores_a"},
                                                   {0x58EAF0, "hud_draw"}};
    for (const json& p : run.patches) {
        EXPECT_TRUE(p.contains("site")) << p;
        uint32_t addr = static_cast<uint32_t>(std::stoul(p["addr"].get<std::string>(), nullptr, 16));
        for (const auto& [site, name] : named)
            EXPECT_TRUE(addr - site >= 5 || p.value("site", "") == name) << p << " is not " << name;
    }
    // The places that hold plug-in addresses, branches and data alike, are named by offset
    // into the library: the same in a second run, which loads it at another address.
    SimRun again = runSim(dir);
    ASSERT_EQ(again.patches.size(), run.patches.size());
    size_t references = 0;
    for (size_t i = 0; i < run.patches.size(); ++i) {
        EXPECT_EQ(again.patches[i].value("plugin", json()), run.patches[i].value("plugin", json())) << run.patches[i];
        references += run.patches[i].value("plugin", json::object()).size();
    }
    EXPECT_GT(references, 20u);
}

TEST(HookMapPatches, RadioRowsOnlyWithTheirSetting)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\n");
    SimRun run = runSim(dir);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const Span& s : radioRows)
        EXPECT_FALSE(run.patched(s.address, s.size)) << std::hex << s.address;
    EXPECT_TRUE(run.patched(0x58E020)); // the crosshair's row has no gate
    // The host's own radio display runs every frame, its store at 0x506FF0 on the way.
    auto radio = run.calls("radio_display");
    ASSERT_EQ(radio.size(), 1u);
    EXPECT_EQ(radio[0]["by"], "host");
}

// The words of the map rows that point into the plug-in: branch displacements and the two
// constants' addresses.
std::vector<uint32_t> pluginWords()
{
    std::vector<uint32_t> words = {0x584A1A, 0x584A02, 0x584A32, 0x584A42, blendRow.address + 1};
    std::vector<Span> rows(std::begin(callRows), std::end(callRows));
    rows.insert(rows.end(), std::begin(jumpRows), std::end(jumpRows));
    rows.insert(rows.end(), std::begin(textureRows), std::end(textureRows));
    for (const Span& row : rows)
        words.push_back(row.address + 1);
    return words;
}

// Two runs load the plug-in wherever the system places it, so their listings are compared
// by what the bytes mean: every word that points into the plug-in moves by one and the same
// shift, and every other byte is the same.
void expectSameButForLoadAddress(const ByteMap& a, const ByteMap& b)
{
    std::set<uint32_t> inWords;
    std::optional<uint32_t> shift;
    for (uint32_t at : pluginWords()) {
        uint32_t wordA = 0, wordB = 0;
        for (uint32_t i = 0; i < 4; ++i) {
            inWords.insert(at + i);
            // A byte neither listing shows is the host's own in both and cancels out.
            auto ia = a.find(at + i), ib = b.find(at + i);
            uint8_t host = ia != a.end() ? ia->second.first : ib != b.end() ? ib->second.first : 0;
            wordA |= uint32_t{ia != a.end() ? ia->second.second : host} << 8 * i;
            wordB |= uint32_t{ib != b.end() ? ib->second.second : host} << 8 * i;
        }
        shift = shift.value_or(wordA - wordB);
        EXPECT_EQ(wordA - wordB, *shift) << "0x" << std::hex << at;
    }
    auto others = [&](const ByteMap& bytes) {
        ByteMap out;
        for (const auto& [address, change] : bytes)
            if (!inWords.count(address) && change.first != change.second)
                out[address] = change;
        return out;
    };
    EXPECT_EQ(others(a), others(b));
}

TEST(HookMapPatches, UnloadPutsTheEventSitesBackAndLeavesTheMaps)
{
    TempDir dir;
    writeSettings(dir, mapSettings);
    SimRun loaded = runSim(dir);
    SimRun unloaded = runSim(dir, {"--unload"});
    ASSERT_EQ(unloaded.exitCode, 0) << unloaded.err;
    ByteMap before = changedBytes(loaded.patches, true), now = changedBytes(unloaded.patches, true);
    expectOnlyLiveRows(changedBytes(unloaded.patches), false);
    for (const Span& s : eventSites)
        for (uint32_t a = s.address; a < s.address + s.size; ++a)
            before.erase(a);
    expectSameButForLoadAddress(now, before);
}

std::vector<json> opsIn(const SimRun& run, int frame, const std::string& op)
{
    std::vector<json> found;
    for (const json& e : run.calls(op))
        if (e["frame"] == frame)
            found.push_back(e);
    return found;
}

const char namesShown[] = R"({"frames": 3, "world": [{"frame": 1,
    "zone_name": {"text": "Ganton", "shown": true, "colour": [1, 2, 3, 200]},
    "vehicle_name": {"text": "Infernus", "shown": true}}]})";

TEST(HookMapRoutines, TheHostsHudAndExtraDrawingRunOnlyWithoutThePlugin)
{
    for (bool enabled : {false, true}) {
        SCOPED_TRACE(enabled);
        TempDir dir;
        writeSettings(dir, enabled ? "bEnable = 1\n" : "bEnable = 0\n");
        SimRun run = runSim(dir, {"--scenario", dir.write("s.json", namesShown)});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        for (int frame = 1; frame <= 3; ++frame) {
            EXPECT_EQ(opsIn(run, frame, "hud_draw").size(), enabled ? 0u : 1u);
            EXPECT_EQ(opsIn(run, frame, "hud_extra_draw").size(), enabled ? 0u : 1u);
            // The host's own name routines: colour and print from the host's sites.
            size_t hostNameCalls = 0;
            for (const char* op : {"text_set_colour", "text_print"})
                for (const json& e : opsIn(run, frame, op))
                    hostNameCalls += e["by"] == "host";
            EXPECT_EQ(hostNameCalls, enabled ? 0u : 4u);
        }
        if (!enabled) {
            auto prints = run.calls("text_print");
            ASSERT_EQ(prints.size(), 6u);
            EXPECT_EQ(prints[0]["args"][2], "Ganton");
            EXPECT_EQ(prints[1]["args"][2], "Infernus");
            EXPECT_EQ(run.calls("text_set_colour")[0]["args"], json::parse("[[1,2,3,200]]"));
        }
    }
}

TEST(HookMapRoutines, ColourArrayIsFilledFromTheTableByTheHostsOwnCall)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\n");
    dir.write("kell-hud/data/hudColor.dat", "HUD_COLOUR_RED 10 20 30 40\nHUD_COLOUR_BLUE 1 2 3 4\n"
                                             "HUD_COLOUR_YELLOW 250 240 230 0\n");
    SimRun run = runSim(dir);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.calls("hud_colours_fill").empty());
    // The host fills its colours after the renderer has started (and after the plug-in's
    // textures loaded at that event): fifteen colours in a row, all made by the plug-in.
    std::vector<json> colours;
    bool started = false;
    for (const json& e : run.trace) {
        started |= e["op"] == "renderer_start";
        if (started && e["op"] != "renderer_start" && e["op"].get<std::string>().rfind("txd_", 0) != 0 &&
            e["op"].get<std::string>().rfind("sprite_", 0) != 0)
            colours.push_back(e);
    }
    ASSERT_GE(colours.size(), 15u);
    for (size_t i = 0; i < 15; ++i) {
        EXPECT_EQ(colours[i]["op"], "make_colour");
        EXPECT_EQ(colours[i]["by"], "plugin");
        EXPECT_EQ(colours[i]["frame"], 1);
    }
    EXPECT_EQ(colours[0]["args"], json::parse("[10,20,30,255]"));
    EXPECT_EQ(colours[2]["args"], json::parse("[1,2,3,255]"));
    EXPECT_EQ(colours[13]["args"], json::parse("[1,2,3,255]"));
    EXPECT_EQ(colours[14]["args"], json::parse("[250,240,230,255]"));
}

TEST(HookMapRoutines, ColourArrayComesFromTheStyleVariantsTable)
{
    const std::pair<const char*, const char*> variants[] = {
        {"iVesk = 1\n", "[90,80,70,255]"}, {"iVesk = 2\n", "[5,6,7,255]"}, {"iVesk = 3\n", "[10,20,30,255]"}};
    for (auto [setting, red] : variants) {
        TempDir dir;
        writeSettings(dir, std::string("bEnable = 1\n") + setting);
        dir.write("kell-hud/data/hudColor.dat", "HUD_COLOUR_RED 10 20 30 40\n");
        dir.write("kell-hud/data/mora/hudColor.dat", "HUD_COLOUR_RED 90 80 70 40\n");
        dir.write("kell-hud/data/sabel/hudColor.dat", "HUD_COLOUR_RED 5 6 7 40\n");
        SimRun run = runSim(dir);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        auto colours = run.calls("make_colour");
        ASSERT_FALSE(colours.empty());
        EXPECT_EQ(colours[0]["args"], json::parse(red)) << setting;
    }
}

TEST(HookMapRoutines, WithoutThePluginTheHostFillsItsOwnColours)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 0\n");
    SimRun run = runSim(dir);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.calls("hud_colours_fill").size(), 1u);
    EXPECT_EQ(run.calls("hud_colours_fill")[0]["by"], "host");
    for (const json& e : run.calls("make_colour"))
        EXPECT_EQ(e["by"], "host");
}

TEST(HookMapRoutines, GangOverlayBlendIsSetInEveryFrameInsideTheHostsMapDrawing)
{
    TempDir dir;
    writeSettings(dir, mapSettings);
    SimRun run = runSim(dir, {"--frames", "3"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (int frame = 1; frame <= 3; ++frame) {
        std::vector<std::string> ops;
        std::vector<json> inMap; // render states set while the host's map layer runs
        bool mapRunning = false;
        for (const json& e : run.trace) {
            if (e["frame"] != frame)
                continue;
            std::string op = e["op"];
            if (op.rfind("radar_", 0) == 0) {
                ops.push_back(op);
                mapRunning = op == "radar_draw_map";
            } else if (mapRunning && op == "render_state_set") {
                inMap.push_back(e);
            }
        }
        // The host's radar routine itself is replaced; its map and blip layers still run.
        EXPECT_EQ(ops, (std::vector<std::string>{"radar_draw_map", "radar_draw_blips", "radar_draw_arrow", "radar_draw_overlay"}));
        // The map's blend state comes first, at the jump inside the map drawing, then the
        // gang overlay's.
        ASSERT_GE(inMap.size(), 2u);
        EXPECT_EQ(inMap[0]["args"], json::parse("[12,1]"));
        EXPECT_EQ(inMap[1]["args"], json::parse("[10,5]"));
        EXPECT_EQ(inMap[1]["by"], "plugin");
    }
    // The host's arrow and overlay colours are no longer made by the host.
    for (const json& e : run.calls("make_colour"))
        EXPECT_EQ(e["by"], "plugin");
}

} // namespace
