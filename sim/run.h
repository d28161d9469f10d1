#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace sim {

struct RunOptions {
    std::string pluginDir;    // the folder that holds kell-hud/
    std::string pluginFile;   // the plug-in library to load
    std::string scenarioFile; // empty: a default scenario
    std::optional<int> width, height, frames;
    std::string tracePath;
    bool traceFramesOnly = false; // the trace leaves out the calls while loading and unloading
    std::string patchesPath;
    std::string pngPath; // the last frame as a picture
    std::string framesDir; // every `every`-th frame (and the last) as frame-NNNNN.png in it
    int every = 1;
    bool outline = false; // each hud.dat element's box over the pictures, labelled with its key
    bool unload = false; // list the patches after unloading instead of after start-up
    bool verbose = false; // the summary counts the plug-in's host calls operation by operation
    // The style variant (iVesk) for this run, whatever settings.ini says; the file is not
    // changed: the plug-in reads an edited copy.
    std::optional<int> style;
};

// The exit code of a run that went through but whose data --check finds fault with.
constexpr int ranWithDataFindings = 3;

// Checks the data as --check does and prints its findings, builds the host, loads the
// plug-in, runs the frames, unloads it and writes what was asked for. Returns the process
// exit code (0, or ranWithDataFindings when the data are not clean); prints a short
// summary to `out`.
int runSimulation(const RunOptions& options, std::ostream& out, std::ostream& err);

} // namespace sim
