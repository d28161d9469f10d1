// The simulated host as a modder meets it: each mistake named at once, the data files
// checked by line, and the run's summary saying what the plug-in read.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "fifo_guard.h"
#include "sim_run.h"

namespace {

bool has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Mistakes on the command line stop the run before it starts (so these runs are cheap).
TEST(ModderTool, CommandLineMistakesAreNamedBeforeTheRun)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\n");
    const std::string kellHud = dir.path() + "/kell-hud";

    SimRun noFolder = runSimWithoutTrace(dir, {"--plugin-dir", dir.path() + "/nowhere"});
    EXPECT_EQ(noFolder.exitCode, 2);
    EXPECT_TRUE(has(noFolder.err, "no such folder; expected a folder holding kell-hud/settings.ini")) << noFolder.err;

    SimRun inside = runSimWithoutTrace(dir, {"--plugin-dir", kellHud + "/"});
    EXPECT_EQ(inside.exitCode, 2);
    EXPECT_TRUE(has(inside.err, "this is the kell-hud folder itself")) << inside.err;
    EXPECT_TRUE(has(inside.err, "give the folder above it, " + dir.path() + "\n")) << inside.err;

    const std::string dll = dir.write("KellHud.asi", std::string("MZ\x90\0\x03", 5));
    SimRun windows = runSimWithoutTrace(dir, {"--plugin", dll});
    EXPECT_EQ(windows.exitCode, 2);
    EXPECT_TRUE(has(windows.err, "is a Windows DLL; KellHud.asi is for the game")) << windows.err;
    EXPECT_TRUE(has(windows.err, "build/sim/KellHud.so")) << windows.err;

    SimRun trace = runSimWithoutTrace(dir, {"--trace", dir.path() + "/missing/trace.jsonl"});
    EXPECT_EQ(trace.exitCode, 2);
    EXPECT_TRUE(has(trace.err, "--trace: cannot write " + dir.path() + "/missing/trace.jsonl: the folder " + dir.path() +
                                   "/missing does not exist"))
        << trace.err;
    SimRun patches = runSimWithoutTrace(dir, {"--patches", dir.path()});
    EXPECT_EQ(patches.exitCode, 2);
    EXPECT_TRUE(has(patches.err, "--patches: cannot write " + dir.path() + ": it is a folder")) << patches.err;
    // Nothing ran: no summary, and the checks left no file behind.
    for (const SimRun* run : {&noFolder, &inside, &windows, &trace, &patches})
        EXPECT_TRUE(run->out.empty()) << run->out;
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/sim-run.patches.jsonl"));
}

TEST(ModderTool, ScenarioMistakesNameFileFieldAndWhatWasExpected)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\n");
    struct Case {
        const char* json;
        const char* says;
    } cases[] = {
        {R"({"frmaes": 10})", "scenario: frmaes: unknown field; the fields here are screen, frames,"},
        {R"({"keys": [{"key": "F11", "from": 2}]})", "scenario: keys[0].key: must be a whole number from 1 to 255"},
        {R"({"clock": {"step": 16}})", "scenario: clock.step: unknown field; the fields here are start_ms, step_ms"},
        {R"({"map_screen": [{"from": 1, "until": 3}]})", "scenario: map_screen[0].until: unknown field"},
        {R"({"screen": [1920]})", "scenario: screen: must be a list of 2: [width, height]"},
        {R"({"world": [{"frame": 1, "wanted": {"star": 2}}]})", "scenario: world[0].wanted.star: unknown field"},
        {R"({"frames": 2,})", "scenario: [json.exception.parse_error"},
        {R"({"frames": 2, "frames": 5})", "scenario: frames: given twice in the same object"},
    };
    for (const Case& c : cases) {
        const std::string file = dir.write("scenario.json", c.json);
        SimRun run = runSimWithoutTrace(dir, {"--scenario", file});
        EXPECT_EQ(run.exitCode, 2) << c.json;
        EXPECT_TRUE(has(run.err, "kellhud-sim: " + file + ": " + c.says)) << c.json << "\n" << run.err;
    }
}

TEST(ModderTool, CheckListsEveryProblemAndPassesTheShippedFiles)
{
    TempDir dir;
    writeSettings(dir, "bEnable = off\nbEnabel = 1\n");
    SimRun bad = runSimWithoutTrace(dir, {"--check"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(has(bad.out, dir.path() + "/kell-hud/settings.ini:1: error: bEnable = off reads as 1 (on)")) << bad.out;
    EXPECT_TRUE(has(bad.out, dir.path() + "/kell-hud/settings.ini:2: error: unknown key bEnabel")) << bad.out;
    EXPECT_TRUE(has(bad.out, dir.path() + "/kell-hud/data/hud.dat: error: cannot be read")) << bad.out;
    // bEnable reads as on, so the six dictionaries it then loads are named too.
    EXPECT_TRUE(has(bad.out, dir.path() + "/kell-hud/textures/weapons.txd: error: cannot be read as a texture dictionary"))
        << bad.out;
    EXPECT_TRUE(has(bad.out, "kellhud-sim --check: 12 errors, 12 warnings")) << bad.out;

    // With --overlaps, also each pair of elements drawn over each other (a warning).
    dir.write("kell-hud/data/hud.dat", "HUD_RADIO_HUD 15 30 120 120\nHUD_HELP_MESSAGE 600 100 0.5 1.15\n");
    // --size adds a screen of the modder's own to the six tried.
    SimRun overlaps = runSimWithoutTrace(dir, {"--check", "--overlaps", "--size", "800x600"});
    EXPECT_TRUE(has(overlaps.out, dir.path() + "/kell-hud/data/hud.dat:2: warning: HUD_HELP_MESSAGE overlaps "
                                               "HUD_RADIO_HUD (line 1) at 1280x720 (285 x 30 pixels) and 1920x1080"))
        << overlaps.out;
    EXPECT_TRUE(has(overlaps.out, " and 800x600 (")) << overlaps.out;

    TempDir empty;
    SimRun wrong = runSimWithoutTrace(empty, {"--check", "--plugin-dir", dir.path() + "/kell-hud"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(has(wrong.err, "this is the kell-hud folder itself")) << wrong.err;

    SimRun shipped = runSimWithoutTrace(empty, {"--check", "--overlaps", "--plugin-dir", KELLHUD_ASSETS_DIR});
    EXPECT_EQ(shipped.exitCode, 0) << shipped.out;
    EXPECT_TRUE(has(shipped.out, "kellhud-sim --check: 0 errors, 0 warnings")) << shipped.out;
}

// Files the plug-in cannot read as the modder meant: --check names each and what it is,
// stops after a few findings per file, and neither it nor a run waits on a FIFO.
TEST(ModderTool, CheckNamesFilesThePluginCannotReadAndNothingWaitsOnAFifo)
{
    TempDir dir;
    dir.write("kell-hud/data/hudColor.dat", "HUD_COLOUR_RED 1 2 3 4\rHUD_COLOUR_GREEN 1 2 3 4\r");
    dir.write("kell-hud/data/mora/hudColor.dat/readme.txt", "");
    std::string junk;
    for (int i = 0; i < 200; ++i)
        junk += "junk\r" + std::to_string(i) + "\n";
    dir.write("kell-hud/data/hud.dat", junk);
    FifoGuard fifo(dir.path() + "/kell-hud/settings.ini");
    ASSERT_TRUE(fifo.created());

    SimRun check = runSimWithoutTrace(dir, {"--check"});
    EXPECT_EQ(check.exitCode, 1);
    const std::string kellHud = dir.path() + "/kell-hud";
    for (const std::string& line :
         {kellHud + "/settings.ini: error: not a regular file (a pipe, socket or device)",
          kellHud + "/data/hudColor.dat:1: error: the file has no line ends but CR",
          kellHud + "/data/mora/hudColor.dat: error: is a directory, not a file",
          kellHud + "/data/hud.dat:1: error: unknown key junk\\r0: the plug-in never reads it",
          kellHud + "/data/hud.dat: note: ", std::string("(150 errors, "),
          // Every finding counts, shown or not: 200 in hud.dat, one for each colour file.
          std::string("kellhud-sim --check: 204 errors, ")})
        EXPECT_TRUE(has(check.out, line)) << line << "\n" << check.out;
    EXPECT_EQ(check.out.find('\r'), std::string::npos);

    SimRun run = runSimWithoutTrace(dir);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(has(run.out, "  settings: none found at " + kellHud + "/settings.ini")) << run.out;
    EXPECT_FALSE(fifo.readerWaited());
}

// One run: what the summary says about the files read, and a trace of the frames only.
TEST(ModderTool, SummaryNamesTheFilesReadAndTheTraceCanKeepToTheFrames)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\niVesk = 1\n");
    dir.write("kell-hud/data/hud.dat", "HUD_CASH 1 2 3 4\n");
    SimRun run = runSim(dir, {"--frames", "2", "--trace-frames"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string kellHud = dir.path() + "/kell-hud";
    EXPECT_TRUE(has(run.out, "  settings: " + kellHud + "/settings.ini\n")) << run.out;
    EXPECT_TRUE(has(run.out, "  style variant: mora, colours from " + kellHud +
                                 "/data/mora/hudColor.dat (not found: every colour is opaque white)\n"))
        << run.out;
    EXPECT_TRUE(has(run.out, "  layout: " + kellHud + "/data/hud.dat\n")) << run.out;
    EXPECT_TRUE(run.err.empty()) << run.err;

    ASSERT_FALSE(run.trace.empty());
    for (const nlohmann::json& entry : run.trace)
        ASSERT_TRUE(entry["frame"] == 1 || entry["frame"] == 2) << entry.dump();
    EXPECT_EQ(run.trace.back()["frame"], 2);
    // Only the loading and unloading are left out: the frames' drawing is all there.
    EXPECT_FALSE(run.calls("text_print").empty());
    // The host calls are one total; --verbose counts them by operation.
    EXPECT_TRUE(has(run.out, " (--verbose counts them by operation)\n")) << run.out;
    EXPECT_FALSE(has(run.out, "    text_print: ")) << run.out;
    EXPECT_TRUE(has(runSimWithoutTrace(dir, {"--frames", "2", "--verbose"}).out, "    text_print: "));
}

// A "//" after everything a line needs is a note: the run says so and counts the data clean.
TEST(ModderTool, ASlashCommentAfterTheNumbersIsANoteAndTheDataStayClean)
{
    TempDir dir;
    std::filesystem::copy(std::string(KELLHUD_ASSETS_DIR) + "/kell-hud", dir.path() + "/kell-hud",
                          std::filesystem::copy_options::recursive);
    for (const auto& [file, from, to] : {std::tuple<std::string, std::string, std::string>{
                                             "settings.ini", "bEnable = 1\n", "bEnable = 1 // on\n"},
                                         {"data/hud.dat", "0.75   1.5\r\n", "0.75   1.5 // money\r\n"}}) {
        std::ifstream in(dir.path() + "/kell-hud/" + file, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_NE(text.find(from), std::string::npos) << file;
        dir.write("kell-hud/" + file, text.replace(text.find(from), from.size(), to));
    }
    const std::string png = dir.path() + "/frame.png";
    SimRun run = runSimWithoutTrace(dir, {"--frames", "1", "--png", png});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(run.dataFindings) << run.out;
    EXPECT_TRUE(has(run.out, "settings.ini:9: note: bEnable = 1 // on reads as 1 (on), as meant")) << run.out;
    EXPECT_TRUE(has(run.out, "hud.dat:77: note: HUD_CASH 101    186    0.75   1.5 // money: reads as 101 186 0.75 1.5, as meant"))
        << run.out;
    EXPECT_TRUE(has(run.out, "  picture: " + png + "\n")) << run.out;
}

} // namespace
