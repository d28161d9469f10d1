// Long runs of the simulated host: the trace streams to its file and is not kept, a run
// without one builds none, the summary comes from counts kept as calls happen, and memory
// stays the same however many frames run.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "sim_run.h"

namespace {

const std::string busyScenario = std::string(KELLHUD_ASSETS_DIR) + "/../docs/examples/busy.json";

// What the summary lists: each operation's count, and the sprites by name.
struct Summary {
    int total = -1;
    std::map<std::string, int> calls;
    std::map<std::string, int> sprites;
};

Summary summaryOf(const std::string& out)
{
    Summary s;
    std::smatch m;
    std::regex totalLine(R"(host calls by the plug-in during the frames: (\d+))"), opLine(R"(^    (\w+): (\d+)$)"),
        spriteLine(R"(sprites drawn by the plug-in: (.*))"), sprite(R"((?:^|, )([^,]+) (\d+))");
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, m, totalLine))
            s.total = std::stoi(m[1]);
        else if (std::regex_match(line, m, opLine))
            s.calls[m[1]] = std::stoi(m[2]);
        else if (std::regex_search(line, m, spriteLine)) {
            std::string list = m[1];
            for (std::sregex_iterator it(list.begin(), list.end(), sprite), end; it != end; ++it)
                s.sprites[(*it)[1]] = std::stoi((*it)[2]);
        }
    }
    return s;
}

// The same counts read from the trace file.
Summary summaryOf(const SimRun& run, int frames)
{
    Summary s;
    s.total = 0;
    for (const nlohmann::json& e : run.trace) {
        if (e["by"] != "plugin")
            continue;
        std::string op = e["op"];
        int frame = e["frame"];
        if (frame >= 1 && frame <= frames) {
            ++s.calls[op];
            ++s.total;
        }
        if (op == "sprite_draw" || op == "sprite_draw_xywh" || op == "sprite_draw_uv" || op == "sprite_draw_quad")
            ++s.sprites[e["args"][0].is_string() ? e["args"][0].get<std::string>() : "(no texture)"];
    }
    return s;
}

TEST(SimScaling, TheSummaryCountsWhatTheTraceHoldsWithOrWithoutATrace)
{
    TempDir dir;
    std::vector<std::string> args = {"--plugin-dir", KELLHUD_ASSETS_DIR, "--scenario", busyScenario, "--frames", "300"};
    SimRun traced = runSim(dir, args);
    ASSERT_EQ(traced.exitCode, 0) << traced.err;
    Summary fromTrace = summaryOf(traced, 300);
    Summary printed = summaryOf(traced.out);
    EXPECT_GT(fromTrace.sprites.size(), 1u); // the scenario draws several named sprites
    EXPECT_EQ(printed.total, fromTrace.total);
    EXPECT_EQ(printed.calls, fromTrace.calls);
    EXPECT_EQ(printed.sprites, fromTrace.sprites);

    SimRun plain = runSimWithoutTrace(dir, args);
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(plain.out, traced.out);
}

TEST(SimScaling, WithoutATraceNoTraceFileIsWritten)
{
    TempDir dir;
    SimRun run = runSimWithoutTrace(dir, {"--frames", "3"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"sim-run.err", "sim-run.out", "sim-run.patches.jsonl"}));
}

TEST(SimScaling, ATraceFileThatCannotBeMadeStopsTheRunBeforeItStarts)
{
    TempDir dir;
    SimRun run = runSimWithoutTrace(dir, {"--trace", dir.path() + "/no-such-folder/trace.jsonl"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("cannot write " + dir.path() + "/no-such-folder/trace.jsonl"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");            // no summary: nothing ran
    EXPECT_TRUE(run.patches.empty()); // nor was anything listed
}

// The largest resident size of one run of the simulated host, in kilobytes.
long peakKilobytes(const std::vector<std::string>& args)
{
    std::vector<std::string> all = {KELLHUD_SIM_BINARY, "--plugin", KELLHUD_PLUGIN_BINARY};
    all.insert(all.end(), args.begin(), args.end());
    pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        // Under AddressSanitizer freed memory is held back for a while; hold none, so
        // that what is measured is what the run keeps.
        const char* asan = std::getenv("ASAN_OPTIONS");
        std::string options = std::string(asan ? asan : "") + ":quarantine_size_mb=0";
        setenv("ASAN_OPTIONS", options.c_str(), 1);
        if (!freopen("/dev/null", "w", stdout))
            _exit(126);
        execv(all[0].c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

// Ten times the frames may not cost more memory: a frame keeps nothing once it is over.
TEST(SimScaling, MemoryStaysTheSameOverTenTimesTheFrames)
{
    long shortRun = peakKilobytes({"--frames", "4000"});
    long longRun = peakKilobytes({"--frames", "40000"});
    ASSERT_GT(shortRun, 0);
    EXPECT_LT(longRun - shortRun, 4096) << shortRun << " KB, then " << longRun << " KB";

    // With the trace streamed, and a scenario that changes keys, world and map screen.
    shortRun = peakKilobytes({"--scenario", busyScenario, "--frames", "1000", "--trace", "/dev/null"});
    longRun = peakKilobytes({"--scenario", busyScenario, "--frames", "10000", "--trace", "/dev/null"});
    ASSERT_GT(shortRun, 0);
    EXPECT_LT(longRun - shortRun, 4096) << shortRun << " KB, then " << longRun << " KB";
}

} // namespace
