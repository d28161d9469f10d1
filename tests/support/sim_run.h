#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "temp_dir.h"

// Runs the simulated host's command line with the real plug-in library, as a user does,
// and reads back what it wrote.

struct SimRun {
    int exitCode = -1; // a run that went through on data --check finds fault with gives 0 here
    bool dataFindings = false; // ... and this (kellhud-sim's own exit code 3)
    std::string out;
    std::string err;
    std::vector<nlohmann::json> trace;
    std::vector<nlohmann::json> patches;

    // Whether a listed patch changed any byte of [address, address + size).
    bool patched(uint32_t address, uint32_t size = 5) const;
    // Host calls the plug-in made, from loading to unloading.
    size_t pluginCalls() const;
    // Trace entries of one operation, in order.
    std::vector<nlohmann::json> calls(const std::string& op) const;
};

// Runs kellhud-sim with --plugin-dir set to the folder and the trace and patches written
// into it; `args` are added as they are.
SimRun runSim(const TempDir& pluginDir, const std::vector<std::string>& args = {});
// The same without --trace: `trace` stays empty.
SimRun runSimWithoutTrace(const TempDir& pluginDir, const std::vector<std::string>& args = {});

// A plug-in folder holding kell-hud/settings.ini with these lines.
void writeSettings(const TempDir& dir, const std::string& lines);
