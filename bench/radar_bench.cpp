// radar_bench: what the plug-in costs per host frame.
//
// Runs the same scenario's host frames twice, each in a fresh child process with a fresh
// host: once without the plug-in loaded (the empty frame: the host's own routines, its
// sites and the simulated host's bookkeeping) and once with it. It times each run on the
// thread's CPU clock and prints both per frame, the plug-in's share and the heap
// allocations the plug-in made per frame (which must be 0). No trace is kept. Both runs are
// made again with the simulated host's bookkeeping off (no call counted, nothing recorded):
// the difference of those is the plug-in's own cost, the part the game would pay.

#include <cmath>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "host_build.h"
#include "host_frame.h"
#include "host_image.h"
#include "host_sites.h"
#include "plugin_heap.h"
#include "plugin_loader.h"
#include "scenario.h"
#include "system.h"
#include "trace.h"

namespace {

struct Options {
    std::string pluginDir = KELLHUD_ASSETS_DIR;
    std::string pluginFile = sim::defaultPluginFile();
    std::string scenarioFile; // empty: the radar scenario below
    std::optional<int> frames; // else the scenario's, or 20000 for the radar scenario
};

// What one child measured.
struct Measured {
    bool ok = false;
    int frames = 0;
    double cpuNs = 0; // thread CPU time over the timed frames
    uint32_t heapAllocations = 0;
};

// A busy frame of play, so that the radar frame and the HUD draw all they have every
// frame: the player hurt, armoured, short of breath, in a rolling vehicle, armed, wanted
// and with money, the zone name shown.
nlohmann::json radarScenario(int frames)
{
    using nlohmann::json;
    json player = {{"money", 123456},
                   {"skill", 1},
                   {"weapon", {{"slot", 5}, {"type", 31}, {"clip", 30}, {"total", 250}}},
                   {"health", 75},
                   {"armour", 40},
                   {"state_flags", 0x100},
                   {"breath", 600},
                   {"position", {1200.5, -850.25, 13}},
                   {"vehicle", {{"type", 0}}}}; // a car: the route is drawn (no roll indicator)
    // Many blips, each with a level marker, and a route of the full 2000 nodes the plug-in
    // can hold, winding around the player inside the radar.
    json blips = json::array();
    for (int i = 0; i < 100; ++i)
        blips.push_back({{"id", 1 + i % 10},
                         {"at", {std::cos(i * 0.7) * (i % 10) / 10.0, std::sin(i * 0.7) * (i % 10) / 10.0}},
                         {"level", {{"kind", i % 3}}}});
    json nodes = json::array();
    for (int i = 0; i < 2000; ++i) {
        double r = 5.0 + 90.0 * i / 2000.0, a = i * 0.05;
        nodes.push_back({1200.5 + r * std::cos(a), -850.25 + r * std::sin(a), 13});
    }
    json world = {
        {"frame", 1},
        {"players", json::array({player, nullptr})},
        {"damage_ms", 99000},
        {"weapon_info", json::array({json{{"type", 31}, {"clip_size", 50}, {"model", 356}}})},
        {"wanted", {{"stars", 4}, {"changed_ms", 0}}},
        {"zone_name", {{"text", "Market"}, {"shown", true}}},
        {"blips", blips},
        {"target", {{"index", 5}, {"counter", 7}, {"position", {3000, 3000, 0}}}},
        {"route", {{"nodes", nodes}}},
    };
    return {{"screen", {1920, 1080}},
            {"frames", frames},
            {"clock", {{"start_ms", 100000}, {"step_ms", 16}}},
            {"world", json::array({world})}};
}

double threadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

// In a fresh host: start, optionally load the plug-in, reach the renderer start, run a
// few frames untimed to settle, then time the rest.
Measured runFrames(const Options& options, const sim::Scenario& scenario, bool withPlugin, bool bookkeeping)
{
    Measured m;
    sim::trace::keepBookkeeping(bookkeeping);
    std::filesystem::path dir = std::filesystem::absolute(options.pluginDir);
    sim::system().pluginFile = (dir / std::filesystem::path(options.pluginFile).filename()).string();
    sim::system().hostFile = (dir / "host.exe").string();
    sim::trace::keepInMemory(false);
    sim::buildHostImage();
    sim::applyScenarioStart(scenario);
    std::string error;
    if (withPlugin && !sim::loadPlugin(options.pluginFile, error)) {
        std::cerr << "radar_bench: cannot load the plug-in: " << error << "\n";
        return m;
    }
    sim::applyFrame(scenario, 1);
    sim::reachRendererStartPath();

    int settle = std::min(100, scenario.frames / 10);
    for (int frame = 1; frame <= settle; ++frame) {
        sim::applyFrame(scenario, frame);
        sim::runHostFrame(scenario, frame);
    }
    sim::resetPluginHeapAllocations();
    double start = threadCpuNs();
    for (int frame = settle + 1; frame <= scenario.frames; ++frame) {
        sim::applyFrame(scenario, frame);
        sim::runHostFrame(scenario, frame);
    }
    m.cpuNs = threadCpuNs() - start;
    m.heapAllocations = sim::pluginHeapAllocations();
    m.frames = scenario.frames - settle;
    m.ok = m.frames > 0;
    return m;
}

// Each run in its own child, so each finds a host as it is at start.
Measured measureInChild(const Options& options, const sim::Scenario& scenario, bool withPlugin, bool bookkeeping)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        Measured m = runFrames(options, scenario, withPlugin, bookkeeping);
        bool written = write(fds[1], &m, sizeof m) == static_cast<ssize_t>(sizeof m);
        _exit(written ? 0 : 1);
    }
    close(fds[1]);
    Measured m;
    bool read = child > 0 && ::read(fds[0], &m, sizeof m) == static_cast<ssize_t>(sizeof m);
    close(fds[0]);
    int status = 0;
    if (child > 0)
        waitpid(child, &status, 0);
    if (!read || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return m;
}

const char usage[] = "usage: radar_bench [--frames N] [--scenario FILE.json] [--plugin-dir DIR] [--plugin LIBRARY]\n";

bool parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (i + 1 >= argc)
            return false;
        std::string value = argv[++i];
        if (arg == "--frames") {
            char* end = nullptr;
            long n = std::strtol(value.c_str(), &end, 10);
            if (*end || n < 10 || n > 1000000)
                return false;
            options.frames = static_cast<int>(n);
        } else if (arg == "--scenario")
            options.scenarioFile = value;
        else if (arg == "--plugin-dir")
            options.pluginDir = value;
        else if (arg == "--plugin")
            options.pluginFile = value;
        else
            return false;
    }
    return true;
}

void print(const Measured& empty, const Measured& full, const Measured& bareEmpty, const Measured& bareFull,
           const sim::Scenario& scenario)
{
    double emptyUs = empty.cpuNs / empty.frames / 1000;
    double fullUs = full.cpuNs / full.frames / 1000;
    double pluginUs = fullUs - emptyUs;
    std::printf("radar_bench: %d timed frames at %dx%d (thread CPU time, averaged)\n", full.frames, scenario.width,
                scenario.height);
    std::printf("  empty frame (plug-in not loaded):  %9.2f us\n", emptyUs);
    std::printf("  frame with the plug-in:            %9.2f us\n", fullUs);
    std::printf("  the plug-in's cost per frame:      %9.2f us = %.2f x an empty frame\n", pluginUs,
                emptyUs > 0 ? pluginUs / emptyUs : 0.0);
    double bareUs = bareFull.cpuNs / bareFull.frames / 1000 - bareEmpty.cpuNs / bareEmpty.frames / 1000;
    std::printf("  the plug-in's own cost per frame:  %9.2f us (both runs without the simulated host's bookkeeping)\n",
                bareUs);
    std::printf("  heap allocations by the plug-in:   %9.2f per frame (%u in all)\n",
                static_cast<double>(full.heapAllocations) / full.frames, full.heapAllocations);
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options)) {
        std::cerr << usage;
        return 2;
    }
    sim::Scenario scenario;
    try {
        scenario = options.scenarioFile.empty() ? sim::parseScenario(radarScenario(options.frames.value_or(20000)).dump())
                                                : sim::loadScenario(options.scenarioFile);
    } catch (const std::exception& e) {
        std::cerr << "radar_bench: " << e.what() << "\n";
        return 2;
    }
    if (options.frames)
        scenario.frames = *options.frames;

    Measured empty = measureInChild(options, scenario, false, true);
    Measured full = measureInChild(options, scenario, true, true);
    Measured bareEmpty = measureInChild(options, scenario, false, false);
    Measured bareFull = measureInChild(options, scenario, true, false);
    if (!empty.ok || !full.ok || !bareEmpty.ok || !bareFull.ok) {
        std::cerr << "radar_bench: a run failed\n";
        return 1;
    }
    print(empty, full, bareEmpty, bareFull, scenario);
    return full.heapAllocations == 0 && bareFull.heapAllocations == 0 ? 0 : 1;
}
