// Long runs of the simulated host: the trace streams to its file and is not kept, a run
// without one builds none, the summary comes from counts kept as calls happen, and memory
// stays the same however many frames run.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
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

// "    name: 12": an operation's line, four blanks in.
bool opLine(const std::string& line, std::string& name, int& count)
{
    size_t colon = line.find(": ");
    if (line.compare(0, 4, "    ") != 0 || colon == std::string::npos || colon <= 4)
        return false;
    name = line.substr(4, colon - 4);
    std::string number = line.substr(colon + 2);
    auto isWord = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    if (number.empty() || !std::all_of(name.begin(), name.end(), isWord) || !std::all_of(number.begin(), number.end(), isDigit))
        return false;
    count = std::stoi(number);
    return true;
}

Summary summaryOf(const std::string& out)
{
    const std::string totalTag = "host calls by the plug-in during the frames: ", spriteTag = "sprites drawn by the plug-in: ";
    Summary s;
    std::istringstream lines(out);
    std::string name;
    int count = 0;
    for (std::string line; std::getline(lines, line);) {
        if (size_t at = line.find(totalTag); at != std::string::npos)
            s.total = std::stoi(line.substr(at + totalTag.size()));
        else if (opLine(line, name, count))
            s.calls[name] = count;
        else if (size_t at = line.find(spriteTag); at != std::string::npos) {
            // "name count, name count, ..."; a name may hold blanks, the count is after the last.
            std::istringstream list(line.substr(at + spriteTag.size()));
            for (std::string item; std::getline(list, item, ',');) {
                item.erase(0, item.find_first_not_of(' '));
                size_t blank = item.rfind(' ');
                if (blank != std::string::npos)
                    s.sprites[item.substr(0, blank)] = std::stoi(item.substr(blank + 1));
            }
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

// Under the sanitizers a frame costs a hundred times as much; fewer frames still show a
// trace or a scenario look-up that is kept frame after frame (tens of kilobytes a frame).
#ifdef KELLHUD_SANITIZED_SIM
constexpr int shortRunFrames = 50;
#else
constexpr int shortRunFrames = 1000;
#endif

TEST(SimScaling, TheSummaryCountsWhatTheTraceHoldsWithOrWithoutATrace)
{
    TempDir dir;
    // The busy scenario's first frames draw several named sprites and show the map screen.
    int frames = std::min(300, 2 * shortRunFrames);
    std::vector<std::string> args = {"--plugin-dir", KELLHUD_ASSETS_DIR, "--scenario", busyScenario,
                                     "--frames", std::to_string(frames), "--verbose"};
    SimRun traced = runSim(dir, args);
    ASSERT_EQ(traced.exitCode, 0) << traced.err;
    Summary fromTrace = summaryOf(traced, frames);
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
    std::vector<std::string> all = {KELLHUD_SIM_BINARY, "--plugin", KELLHUD_PLUGIN_BINARY, "--plugin-dir",
                                     KELLHUD_ASSETS_DIR};
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
    auto frames = [](int n) { return std::to_string(n); };
    long shortRun = peakKilobytes({"--frames", frames(8 * shortRunFrames)});
    long longRun = peakKilobytes({"--frames", frames(80 * shortRunFrames)});
    ASSERT_GT(shortRun, 0);
    EXPECT_LT(longRun - shortRun, 4096) << shortRun << " KB, then " << longRun << " KB";

    // With the trace streamed, and a scenario that changes keys, world and map screen.
    shortRun = peakKilobytes({"--scenario", busyScenario, "--frames", frames(shortRunFrames), "--trace", "/dev/null"});
    longRun = peakKilobytes({"--scenario", busyScenario, "--frames", frames(10 * shortRunFrames), "--trace", "/dev/null"});
    ASSERT_GT(shortRun, 0);
    EXPECT_LT(longRun - shortRun, 4096) << shortRun << " KB, then " << longRun << " KB";
}

} // namespace
