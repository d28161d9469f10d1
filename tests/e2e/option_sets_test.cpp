// The font, marker and camera option sets: the sites each setting patches, and what the
// host's own calls at those sites lead to.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "sim_run.h"

namespace {

using nlohmann::json;

constexpr uint32_t unitSites[] = {0x719D7E, 0x719D96, 0x719DB7, 0x719DD3, 0x719DF4, 0x719E10,
                                  0x719E31, 0x719E4D, 0x719E71, 0x719E99, 0x719EC1, 0x719EE5};
constexpr uint32_t linesSites[] = {0x719D90, 0x719DCD, 0x719E0A, 0x719E47, 0x719E63, 0x719E8B};
constexpr uint32_t flagSetters[] = {0x719590, 0x719570};
constexpr uint32_t markerSites[] = {0x726DD2, 0x725BF0, 0x440F4E, 0x585CE4};
constexpr uint32_t onFootSites[] = {0x527A09, 0x527B4B, 0x527BD9};
constexpr uint32_t vehicleSites[] = {0x5279B1};

// Where the simulated host keeps its own text unit and line count (what the operands read
// before the font set), and its camera object.
constexpr uint32_t hostTextUnitAt = 0xCEA1B0;
constexpr uint32_t hostTextLinesAt = 0xCEA1B4;
constexpr uint32_t cameraObject = 0xCEA000;
constexpr uint32_t character0 = 0xCE0000;
constexpr uint32_t vehicle0 = 0xCE4100;

struct Site {
    uint32_t address, size;
};

std::vector<Site> setSites(const std::string& setting)
{
    std::vector<Site> sites;
    auto add = [&](const auto& list, uint32_t size) {
        for (uint32_t a : list)
            sites.push_back({a, size});
    };
    if (setting == "bUseKellFonts") {
        add(unitSites, 4);
        add(linesSites, 4);
        add(flagSetters, 5);
    } else if (setting == "bKellMarkers") {
        add(markerSites, 5);
    } else if (setting == "bKellOnFootCamera") {
        add(onFootSites, 5);
    } else {
        add(vehicleSites, 5);
    }
    return sites;
}

const char* const settings[] = {"bUseKellFonts", "bKellMarkers", "bKellOnFootCamera", "bKellVehicleCamera"};

std::vector<uint32_t> patchedOptionSites(const SimRun& run)
{
    std::vector<uint32_t> patched;
    for (const char* setting : settings)
        for (const Site& s : setSites(setting))
            if (run.patched(s.address, s.size))
                patched.push_back(s.address);
    return patched;
}

// The bytes after start-up in [address, address + 4), from the bytes before it.
uint32_t wordAfter(const SimRun& run, uint32_t address, uint32_t before)
{
    uint32_t word = before;
    for (const json& p : run.patches) {
        uint32_t at = static_cast<uint32_t>(std::stoul(p["addr"].get<std::string>(), nullptr, 16));
        std::string after = p["after"];
        for (uint32_t i = 0; i < 4; ++i) {
            uint32_t byte = address + i;
            if (byte >= at && byte < at + after.size() / 2) {
                uint32_t v = static_cast<uint32_t>(std::stoul(after.substr(2 * (byte - at), 2), nullptr, 16));
                word = (word & ~(0xFFu << (8 * i))) | v << (8 * i);
            }
        }
    }
    return word;
}

// The calls of one operation in one frame: [args, by].
std::vector<json> callsIn(const SimRun& run, const std::string& op, int frame)
{
    std::vector<json> calls;
    for (const json& e : run.calls(op))
        if (e["frame"] == frame)
            calls.push_back({e["args"], e["by"]});
    return calls;
}

std::vector<json> argsBy(const SimRun& run, const std::string& op, int frame, const std::string& by)
{
    std::vector<json> args;
    for (const json& c : callsIn(run, op, frame))
        if (c[1] == by)
            args.push_back(c[0]);
    return args;
}

// The plug-in's calls of one operation made while the host was at its option sites in one
// frame: after its frame processing, up to its last check of a site's return.
std::vector<json> atOptionSites(const SimRun& run, const std::string& op, int frame)
{
    std::vector<json> calls, pending;
    bool begun = false;
    for (const json& e : run.trace) {
        if (e["frame"] != frame)
            continue;
        begun |= e["op"] == "frame_process";
        if (!begun)
            continue;
        if (e["op"] == "site_return") {
            calls.insert(calls.end(), pending.begin(), pending.end());
            pending.clear();
        } else if (e["op"] == op && e["by"] == "plugin") {
            pending.push_back(e["args"]);
        }
    }
    return calls;
}

// Every option-site call the host made came back with its stack as it was.
void expectBalanced(const SimRun& run, size_t calls)
{
    auto returns = run.calls("site_return");
    EXPECT_EQ(returns.size(), calls);
    for (const json& r : returns)
        EXPECT_EQ(r["args"][1], true) << r;
    EXPECT_EQ(run.err.find("bytes off"), std::string::npos) << run.err;
}

json d(float v) { return json(static_cast<double>(v)); }
json point(float x, float y, float z) { return json::array({d(x), d(y), d(z)}); }

// ---- The sites each setting patches --------------------------------------------------

TEST(OptionSets, EachSettingPatchesItsOwnSitesAndNoOther)
{
    for (const char* setting : settings) {
        SCOPED_TRACE(setting);
        TempDir dir;
        writeSettings(dir, std::string("bEnable = 1\n") + setting + " = 1\n");
        SimRun run = runSimWithoutTrace(dir, {"--frames", "1"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        std::vector<uint32_t> expected;
        for (const Site& s : setSites(setting))
            expected.push_back(s.address);
        EXPECT_EQ(patchedOptionSites(run), expected);
    }
}

// Markers at all four sites, every camera call and the host's text code, in one frame.
const char everyOptionCall[] = R"({"world": [{"frame": 1,
    "players": [{"position": [100, 200, 10], "vehicle": {"type": 400}}],
    "markers": [
        {"site": "host_colour", "point": [10.5, -3.25, 7.1], "args": [5, 9, 3.0, 11, 12, 13, 14, 2.5, 4.5, 7, 1, 2, 3, 4]},
        {"site": "faint", "point": [1, 2, 3], "args": [6, 8, 2.0, 50, 60, 70, 90, 1.25, 0.75, 0, 0, 0, 0, 0]},
        {"site": "low", "point": [-4, 5, 0.1], "args": [3, 2.0, 1, 2, 3, 4]},
        {"site": "high", "point": [4, -5, 2.2], "args": [12, 3, 2.0, 1, 2, 3, 4]}],
    "camera_calls": {"on_foot": {"point": [1, 2, 3], "args": [11, 12, 13, 14]},
                     "vehicle": {"point": [4, 5, 6], "args": [1.5, -2.5, 15, 16]},
                     "fixed_a": true, "fixed_b": true},
    "text_code": {"flag_r": 7, "flag_s": 0}}]})";

TEST(OptionSets, AllOffLeavesTheHostsOwnCallsRunning)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\nbEnableHotKey = 1\n");
    SimRun run = runSim(dir, {"--scenario", dir.write("scenario.json", everyOptionCall)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(patchedOptionSites(run).empty());

    EXPECT_EQ(argsBy(run, "marker_draw", 1, "host"),
              (std::vector<json>{{5, 9, point(10.5f, -3.25f, 7.1f), 3, 11, 12, 13, 14, 2.5, 4.5, 7, 1, 2, 3, 4},
                                 {6, 8, {1, 2, 3}, 2, 50, 60, 70, 90, 1.25, 0.75, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(argsBy(run, "marker_draw_ground", 1, "host"),
              (std::vector<json>{{3, point(-4, 5, 0.1f), 2, 1, 2, 3, 4}}));
    EXPECT_EQ(argsBy(run, "marker_draw_above", 1, "host"),
              (std::vector<json>{{12, 3, point(4, -5, 2.2f), 2, 1, 2, 3, 4}}));
    EXPECT_EQ(argsBy(run, "camera_point_b", 1, "host"), (std::vector<json>{{{4, 5, 6}, 1.5, -2.5, 15, 16}}));
    EXPECT_EQ(argsBy(run, "camera_point_a", 1, "host"), (std::vector<json>{{{1, 2, 3}, 11, 12, 13, 14}}));
    EXPECT_EQ(argsBy(run, "camera_point_fixed", 1, "host"), (std::vector<json>{{cameraObject}, {cameraObject}}));
    EXPECT_EQ(argsBy(run, "camera_scalar", 1, "host"), (std::vector<json>{{d(0.2f)}, {d(0.2f)}}));
    EXPECT_TRUE(run.calls("entity_offset_to_world").empty());

    // The host's text code reads its own unit and line count; its flag setters are its own.
    const float unit = 1.0f / 448.0f;
    const json u = d(unit), r = d(static_cast<float>(448.0 * unit));
    EXPECT_EQ(argsBy(run, "text_scaling", 1, "host"),
              (std::vector<json>{{u, r, u, r, u, r, u, r, 448, u, 448, u, u, u}}));
    EXPECT_EQ(argsBy(run, "text_set_flag_r", 1, "host"), (std::vector<json>{{7}}));
    EXPECT_EQ(argsBy(run, "text_set_flag_s", 1, "host"), (std::vector<json>{{0}}));
    EXPECT_EQ(argsBy(run, "text_flags", 1, "host"), (std::vector<json>{{0xA1, 0xB2, 0xC3}, {0xA1, 0xB2, 0xC3}}));
    expectBalanced(run, 4 + 4 + 2);
}

// ---- Fonts -----------------------------------------------------------------------------

TEST(FontSet, OperandsReadTheScreenHeightAndThePluginsUnit)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\nbUseKellFonts = 1\n");
    SimRun run = runSim(dir, {"--scenario", dir.write("scenario.json", R"({"frames": 2, "world": [
        {"frame": 1, "text_code": {"flag_r": 7, "flag_s": 0}},
        {"frame": 2, "text_code": {"flag_r": 0, "flag_s": 200}}]})"),
                              "--size", "1280x720"});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    for (uint32_t site : linesSites)
        EXPECT_EQ(wordAfter(run, site, hostTextLinesAt), 0xC17048u) << std::hex << site;
    const uint32_t unitAddress = wordAfter(run, unitSites[0], hostTextUnitAt);
    EXPECT_TRUE(unitAddress < 0x400000 || unitAddress >= 0xD00000) << std::hex << unitAddress;
    for (uint32_t site : unitSites)
        EXPECT_EQ(wordAfter(run, site, hostTextUnitAt), unitAddress) << std::hex << site;

    // What the host's code now reads through them: 1/1024 (0x3A800000) and 720 lines.
    const json u = 0.0009765625, r = 720.0 / 1024.0;
    EXPECT_EQ(argsBy(run, "text_scaling", 2, "host"),
              (std::vector<json>{{u, r, u, r, u, r, u, r, 720, u, 720, u, u, u}}));

    // Both setters land in the plug-in, which sets the host's three flag bytes: two follow
    // the value, the third is cleared.
    EXPECT_TRUE(run.calls("text_set_flag_r").empty());
    EXPECT_TRUE(run.calls("text_set_flag_s").empty());
    EXPECT_EQ(argsBy(run, "text_flags", 1, "host"), (std::vector<json>{{1, 1, 0}, {0, 0, 0}}));
    EXPECT_EQ(argsBy(run, "text_flags", 2, "host"), (std::vector<json>{{0, 0, 0}, {1, 1, 0}}));
    expectBalanced(run, 4);
}

// ---- Markers ---------------------------------------------------------------------------

TEST(MarkerSet, EachRoutineDrawsItsMarkerUntilTheHudIsSwitchedOff)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\nbKellMarkers = 1\nbEnableHotKey = 1\n");
    dir.write("kell-hud/data/hudColor.dat", "HUD_COLOUR_YELLOWLIGHT 201 202 203 17\n");
    SimRun run = runSim(dir, {"--scenario", dir.write("scenario.json", R"({"frames": 2,
        "clock": {"start_ms": 2000}, "keys": [{"key": 122, "from": 2}],
        "world": [{"frame": 1, "markers": [
            {"site": "host_colour", "point": [10.5, -3.25, 7.1], "args": [5, 9, 3.0, 11, 12, 13, 14, 2.5, 4.5, 7, 1, 2, 3, 4]},
            {"site": "faint", "point": [1, 2, 3], "args": [6, 8, 2.0, 50, 60, 70, 90, 1.25, 0.75, 0, 5, 5, 5, 5]},
            {"site": "faint", "point": [1, 2, 3], "args": [-6, 4294967295, 2.0, 50, 60, 70, 200, -1.5, 0, 0, 0, 0, 0, 0]},
            {"site": "faint", "point": [1, 2, 3], "args": [0, 0, 2.0, 50, 60, 70, 127, 0, 0, 0, 0, 0, 0, 0]},
            {"site": "low", "point": [-4, 5, 0.1], "args": [3, 2.0, 1, 2, 3, 4]},
            {"site": "high", "point": [4, -5, 2.2], "args": [12, 3, 2.0, 1, 2, 3, 4]}]}]})")});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const json size = d(1.6f), faint = d(0.7f);
    EXPECT_EQ(argsBy(run, "marker_draw", 1, "plugin"),
              (std::vector<json>{
                  {5, 0, point(10.5f, -3.25f, 7.1f - 0.6f), size, 11, 12, 13, 0, 0, 0, 0, 0, 0, 0, 0},
                  {6, 8, {1, 2, 3}, faint, 201, 202, 203, 30, 1.25, 0.75, 1, 0, 0, 0, 0},
                  {-6, 4294967295u, {1, 2, 3}, faint, 201, 202, 203, 238, -1.5, 0, 1, 0, 0, 0, 0},
                  {0, 0, {1, 2, 3}, faint, 201, 202, 203, 42, 0, 0, 1, 0, 0, 0, 0},
                  {1, 0, point(-4, 5, 0.1f - 0.4f), size, 201, 202, 203, 0, 0, 0, 0, 0, 0, 0, 0},
                  {12, 0, point(4, -5, 2.2f + 1.65f), size, 201, 202, 203, 0, 0, 0, 0, 0, 0, 0, 0}}));
    // The moved points are made by the host's vector routine.
    EXPECT_EQ(argsBy(run, "vector3_make", 1, "plugin"),
              (std::vector<json>{point(10.5f, -3.25f, 7.1f - 0.6f), point(-4, 5, 0.1f - 0.4f),
                                 point(4, -5, 2.2f + 1.65f)}));
    EXPECT_TRUE(argsBy(run, "marker_draw", 1, "host").empty());
    EXPECT_TRUE(run.calls("marker_draw_ground").empty());
    EXPECT_TRUE(run.calls("marker_draw_above").empty());

    // F11 in frame 2: the host still calls at every site, and nothing is drawn.
    EXPECT_TRUE(callsIn(run, "marker_draw", 2).empty());
    EXPECT_TRUE(callsIn(run, "vector3_make", 2).empty());
    expectBalanced(run, 2 * 6);
}

// ---- Cameras ---------------------------------------------------------------------------

TEST(CameraSets, AimBesideThePlayerAndFallBackToTheHostsAim)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\nbKellOnFootCamera = 1\nbKellVehicleCamera = 1\nbEnableHotKey = 1\n");
    // Frame 1: a character in a vehicle, both facing north (turned a quarter from the
    // world's axes); frame 2: none; frame 3: back, and F11 switches the display off.
    const std::string player =
        R"([{"position": [100, 200, 10], "heading": 90, "vehicle": {"type": 400, "heading": 90}}])";
    SimRun run = runSim(dir, {"--scenario", dir.write("scenario.json", R"({"frames": 3,
        "clock": {"start_ms": 2000}, "keys": [{"key": 122, "from": 3}],
        "world": [{"frame": 1, "players": )" + player + R"(,
            "camera_calls": {"on_foot": {"point": [1, 2, 3], "args": [11, 12, 13, 14]},
                             "vehicle": {"point": [4, 5, 6], "args": [1.5, -2.5, 15, 16]},
                             "fixed_a": true, "fixed_b": true}},
                  {"frame": 2, "players": [null]},
                  {"frame": 3, "players": )" + player + "}]}")});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    // The offsets lie in the entity's own axes and turn with it: a quarter turn takes them
    // from the world's x to its y.
    const json right = point(100, 200.0f + 0.32f, 10), left = point(100, 200.0f - 0.32f, 10);
    const json hostFoot = {{1, 2, 3}, 11, 12, 13, 14}, hostVehicle = {{4, 5, 6}, 1.5, -2.5, 15, 16};
    const json besideFoot = {right, 11, 12, 13, 14}, besideVehicle = {left, 1.5, -2.5, 15, 16};
    const json fixed = {right, 0, 0, 0, 0};

    // Display on, with a character: beside it, and beside its vehicle.
    EXPECT_EQ(argsBy(run, "camera_point_b", 1, "plugin"), (std::vector<json>{besideVehicle}));
    EXPECT_EQ(argsBy(run, "camera_point_a", 1, "plugin"), (std::vector<json>{besideFoot, fixed, fixed}));
    EXPECT_EQ(argsBy(run, "entity_offset_to_world", 1, "plugin"),
              (std::vector<json>{{vehicle0, point(-0.32f, 0, 0)}, {character0, point(0.32f, 0, 0)},
                                 {character0, point(0.32f, 0, 0)}, {character0, point(0.32f, 0, 0)}}));
    EXPECT_EQ(atOptionSites(run, "player_vehicle", 1), (std::vector<json>{{0, 0}}));
    // (The arrival check after the frame processing asks for player 0's character.)
    EXPECT_EQ(atOptionSites(run, "player_character", 1), (std::vector<json>{{0}, {-1}, {-1}, {-1}}));
    EXPECT_EQ(argsBy(run, "camera_scalar", 1, "host"), (std::vector<json>{{d(0.3f)}, {d(0.3f)}}));

    // No character or vehicle: the host's own point, and the host's own fixed aim.
    EXPECT_EQ(argsBy(run, "camera_point_b", 2, "plugin"), (std::vector<json>{hostVehicle}));
    EXPECT_EQ(argsBy(run, "camera_point_a", 2, "plugin"), (std::vector<json>{hostFoot}));
    EXPECT_EQ(argsBy(run, "camera_point_fixed", 2, "plugin"), (std::vector<json>{{cameraObject}, {cameraObject}}));
    EXPECT_EQ(argsBy(run, "camera_scalar", 2, "host"), (std::vector<json>{{d(0.2f)}, {d(0.2f)}}));
    EXPECT_TRUE(callsIn(run, "entity_offset_to_world", 2).empty());

    // Display off: the host's points pass through, though the character is still asked
    // for; the fixed aim stays beside the character.
    EXPECT_EQ(argsBy(run, "camera_point_b", 3, "plugin"), (std::vector<json>{hostVehicle}));
    EXPECT_EQ(argsBy(run, "camera_point_a", 3, "plugin"), (std::vector<json>{hostFoot, fixed, fixed}));
    EXPECT_EQ(atOptionSites(run, "player_character", 3), (std::vector<json>{{0}, {-1}, {-1}, {-1}}));
    EXPECT_EQ(argsBy(run, "camera_scalar", 3, "host"), (std::vector<json>{{d(0.3f)}, {d(0.3f)}}));

    EXPECT_TRUE(argsBy(run, "camera_point_a", 1, "host").empty());
    EXPECT_TRUE(run.calls("camera_point_fixed").size() == 2);
    expectBalanced(run, 3 * 4);
}

// The host may hand a marker routine no point at all: nothing is drawn, and the host's
// stack is as it was at each site.
TEST(MarkerSet, APointWithoutAnAddressDrawsNothing)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\nbKellMarkers = 1\n");
    SimRun run = runSim(dir, {"--scenario", dir.write("scenario.json", R"({"world": [{"frame": 1, "markers": [
            {"site": "host_colour", "point": null}, {"site": "faint", "point": null},
            {"site": "low", "point": null}, {"site": "high", "point": null},
            {"site": "low", "point": [1, 2, 3]}]}]})")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(argsBy(run, "marker_draw", 1, "plugin").size(), 1u);
    EXPECT_EQ(argsBy(run, "vector3_make", 1, "plugin").size(), 1u);
    expectBalanced(run, 5);
}

} // namespace
