// The preview's command line: each mistake answered with what is allowed, and --style
// choosing the colours of one run without touching settings.ini.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim_run.h"

namespace {

TEST(PreviewOptions, MistakesSayWhatIsAllowed)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\n");
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const Case cases[] = {
        {{"--size", "0x0"}, "--size 0x0: give width x height in pixels, e.g. 1920x1080, each from 1 to 16384"},
        {{"--size", "16385x10"}, "each from 1 to 16384"},
        {{"--size", "0x10"}, "each from 1 to 16384"},
        {{"--size", "10x0"}, "each from 1 to 16384"},
        // The largest frame count is taken: the run goes on to read the scenario.
        {{"--frames", "1000000", "--scenario", dir.path() + "/none.json"}, "cannot read scenario"},
        {{"--bogus"}, "unknown option --bogus (kellhud-sim --help lists them)"},
        {{"--style", "pink"}, "--style pink: the styles are base, mora and sabel"},
        {{"--style"}, "--style needs a name: the styles are base, mora and sabel"},
        {{"--every", "0"}, "--every 0: a picture every N frames, N from 1 to 1000000"},
        {{"--overlaps"}, "--overlaps goes with --check: kellhud-sim --check --overlaps"},
        {{"--frames-png", dir.path() + "/none"}, "--frames-png: " + dir.path() + "/none is no folder; make it first"},
        {{"--scenario", dir.path() + "/none.json"},
         "cannot read scenario " + dir.path() + "/none.json: there is no such file; check the name and folder"},
    };
    for (const Case& c : cases) {
        SimRun r = runSimWithoutTrace(dir, c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args[0];
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find("Kell Hud in the simulated host"), std::string::npos) << r.out; // nothing ran
    }

    SimRun help = runSimWithoutTrace(dir, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--plugin-dir", "--plugin ", "--scenario", "--size", "1 to 16384", "--frames",
                               "0 to 1000000", "--style", "--png", "--trace ", "--trace-frames", "--patches",
                               "--unload", "--check", "--overlaps", "--frames-png", "--every", "--outline", "docs/simulator.md", "docs/scenario.md"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

// The run and --check alike read the chosen style's colour file and ring dictionary only
// (the folder holds none, so each file read is named as missing).
TEST(PreviewOptions, StyleChoosesTheColoursWithoutEditingSettings)
{
    TempDir dir;
    const std::string settings = "bEnable = 1\n  iVesk = 0 ; base\n";
    writeSettings(dir, settings);
    const char* const styles[] = {"base", "mora", "sabel"};
    const char* const colourFiles[] = {"/data/hudColor.dat", "/data/mora/hudColor.dat", "/data/sabel/hudColor.dat"};
    const char* const rings[] = {"/textures/radar.txd", "/textures/mora/radar.txd", "/textures/sabel/radar.txd"};
    const std::string folder = dir.path() + "/kell-hud";
    for (int i = 0; i < 3; ++i) {
        SimRun r = runSimWithoutTrace(dir, {"--style", styles[i]});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.out.find(std::string("style variant: ") + styles[i] + ", colours from " + folder + colourFiles[i]),
                  std::string::npos)
            << r.out;
        SimRun checked = runSimWithoutTrace(dir, {"--check", "--style", styles[i]});
        EXPECT_EQ(checked.exitCode, 1) << checked.err;
        for (int j = 0; j < 3; ++j)
            for (const SimRun* run : {&r, &checked}) {
                const bool colours = run->out.find(folder + colourFiles[j] + ": error: cannot be read") != std::string::npos;
                const bool ring = run->out.find(folder + rings[j] + ": error: cannot be read") != std::string::npos;
                EXPECT_EQ(colours, i == j) << styles[i] << " " << colourFiles[j] << "\n" << run->out;
                EXPECT_EQ(ring, i == j) << styles[i] << " " << rings[j] << "\n" << run->out;
            }
    }
    std::ifstream in(dir.path() + "/kell-hud/settings.ini");
    std::stringstream kept;
    kept << in.rdbuf();
    EXPECT_EQ(kept.str(), settings);
}

TEST(PreviewOptions, FramesPngWritesEveryNthFrameAndTheLast)
{
    TempDir dir;
    writeSettings(dir, "bEnable = 1\n");
    const std::string frames = dir.path() + "/frames";
    std::filesystem::create_directory(frames);
    SimRun r = runSimWithoutTrace(dir, {"--frames", "5", "--size", "64x36", "--frames-png", frames, "--every", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> written;
    for (const auto& file : std::filesystem::directory_iterator(frames))
        written.push_back(file.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"frame-00002.png", "frame-00004.png", "frame-00005.png"}));
    // --outline draws the boxes over the same last frame.
    auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    const std::string plain = bytes(frames + "/frame-00005.png");
    SimRun outlined = runSimWithoutTrace(dir, {"--frames", "5", "--size", "64x36", "--frames-png", frames, "--outline"});
    ASSERT_EQ(outlined.exitCode, 0) << outlined.err;
    EXPECT_FALSE(plain.empty());
    EXPECT_NE(bytes(frames + "/frame-00005.png"), plain);
}

// Each example scenario runs clean with the shipped data and is named in the docs.
TEST(PreviewOptions, EveryExampleScenarioRunsAndIsNamedInTheDocs)
{
    TempDir dir;
    const std::filesystem::path docs = std::filesystem::path(KELLHUD_ASSETS_DIR) / ".." / "docs";
    std::ifstream in(docs / "simulator.md");
    std::stringstream simulator;
    simulator << in.rdbuf();
    int examples = 0;
    for (const auto& file : std::filesystem::directory_iterator(docs / "examples")) {
        const std::string name = file.path().filename().string();
        EXPECT_NE(simulator.str().find("`docs/examples/" + name + "`"), std::string::npos) << name;
        SimRun r = runSimWithoutTrace(dir, {"--plugin-dir", KELLHUD_ASSETS_DIR, "--scenario", file.path().string(),
                                            "--frames", "2"});
        EXPECT_EQ(r.exitCode, 0) << name << ": " << r.err;
        ++examples;
    }
    EXPECT_GE(examples, 7);
}

} // namespace
