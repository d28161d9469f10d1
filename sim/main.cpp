// kellhud-sim: runs the plug-in inside the simulated host, to test it or to preview a
// layout without the game.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <new>
#include <string>

#include "check/data_check.h"
#include "command_checks.h"
#include "mod_folder.h"
#include "plugin_loader.h"
#include "run.h"
#include "text/printable.h"

namespace {

const char usage[] =
    "usage: kellhud-sim [--plugin-dir DIR] [--plugin LIBRARY] [--size WxH] [--frames N]\n"
    "                   [--scenario FILE.json] [--trace FILE.jsonl] [--trace-frames]\n"
    "                   [--patches FILE.jsonl] [--png FILE.png] [--unload]\n"
    "       kellhud-sim --check [--plugin-dir DIR]\n"
    "       kellhud-sim --new-mod DIR\n"
    "--new-mod makes DIR/kell-hud from the shipped files (never over an existing one) and\n"
    "prints the commands to edit, preview, check and pack it.\n"
    "--plugin-dir is the folder that holds kell-hud/settings.ini; without it, the current\n"
    "folder when it holds kell-hud/.\n"
    "--check reads the data files below it and names every line the plug-in will read\n"
    "differently from what it says; the exit status is 1 when it finds an error.\n";

bool parseSize(const char* text, sim::RunOptions& options)
{
    int w = 0, h = 0;
    char extra = 0;
    if (std::sscanf(text, "%dx%d%c", &w, &h, &extra) != 2 || w <= 0 || h <= 0 || w > 16384 || h > 16384)
        return false;
    options.width = w;
    options.height = h;
    return true;
}

// `--check`: the data files, by file and line, without running anything.
int checkData(const std::string& dir)
{
    int errors = 0, warnings = 0;
    for (const check::Finding& finding : check::checkPluginFolder(dir)) {
        std::cout << check::formatFinding(finding) << "\n";
        if (finding.severity == check::Severity::Note) {
            errors += finding.hiddenErrors;
            warnings += finding.hiddenWarnings;
        } else
            (finding.severity == check::Severity::Error ? errors : warnings) += 1;
    }
    std::cout << "kellhud-sim --check: " << errors << (errors == 1 ? " error, " : " errors, ") << warnings
              << (warnings == 1 ? " warning" : " warnings") << " in the data files below " << dir << "\n";
    return errors ? 1 : 0;
}

// What can be known before the run: the folders and files named on the command line.
bool checkBeforeRun(const sim::RunOptions& options, std::ostream& err)
{
    std::string message;
    bool ok = true;
    auto fail = [&](bool passed) {
        if (!passed)
            err << "kellhud-sim: " << message << "\n";
        ok &= passed;
    };
    sim::PluginDirState dir = sim::checkPluginDir(options.pluginDir, message);
    if (dir == sim::PluginDirState::NoSettings)
        err << "kellhud-sim: warning: " << message << "\n";
    fail(dir != sim::PluginDirState::Wrong);
    fail(sim::checkPluginLibrary(options.pluginFile, message));
    if (!options.tracePath.empty())
        fail(sim::checkOutputPath("--trace", options.tracePath, message));
    if (!options.patchesPath.empty())
        fail(sim::checkOutputPath("--patches", options.patchesPath, message));
    if (!options.pngPath.empty())
        fail(sim::checkOutputPath("--png", options.pngPath, message));
    return ok;
}

// The modder's folder: `--new-mod DIR` makes it; a run or --check given no --plugin-dir
// uses the current folder when it holds kell-hud/. Returns -1 to go on with the run.
int modFolderCommand(const std::string& newMod, sim::RunOptions& options)
{
    if (!newMod.empty())
        return sim::makeModFolder(newMod, sim::shippedFolder(), std::cout, std::cerr);
    std::string message;
    if (options.pluginDir.empty() && !sim::currentPluginDir(options.pluginDir, message)) {
        std::cerr << "kellhud-sim: " << message << "\n";
        return 2;
    }
    return -1;
}

int run(int argc, char** argv)
{
    sim::RunOptions options;
    std::string newMod;
    options.pluginFile = sim::defaultPluginFile();
    bool checkOnly = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto takes = [&](std::string& into) {
            if (!value)
                return false;
            into = value;
            ++i;
            return true;
        };
        bool ok = true;
        if (arg == "--plugin-dir")
            ok = takes(options.pluginDir);
        else if (arg == "--plugin")
            ok = takes(options.pluginFile);
        else if (arg == "--scenario")
            ok = takes(options.scenarioFile);
        else if (arg == "--trace")
            ok = takes(options.tracePath);
        else if (arg == "--patches")
            ok = takes(options.patchesPath);
        else if (arg == "--trace-frames")
            options.traceFramesOnly = true;
        else if (arg == "--check")
            checkOnly = true;
        else if (arg == "--new-mod")
            ok = takes(newMod) && !newMod.empty();
        else if (arg == "--png")
            ok = takes(options.pngPath);
        else if (arg == "--unload")
            options.unload = true;
        else if (arg == "--size")
            ok = value && parseSize(value, options) && ++i;
        else if (arg == "--frames") {
            char* end = nullptr;
            long n = value ? std::strtol(value, &end, 10) : -1;
            ok = value && *end == '\0' && n >= 0 && n <= 1000000;
            if (ok) {
                options.frames = static_cast<int>(n);
                ++i;
            }
        } else if (arg == "--help" || arg == "-h") {
            std::cout << usage;
            return 0;
        } else
            ok = false;
        if (!ok) {
            std::cerr << "kellhud-sim: bad argument " << arg << "\n" << usage;
            return 2;
        }
    }
    if (int status = modFolderCommand(newMod, options); status >= 0)
        return status;
    if (checkOnly) {
        std::string message;
        if (sim::checkPluginDir(options.pluginDir, message) == sim::PluginDirState::Wrong) {
            std::cerr << "kellhud-sim: " << message << "\n";
            return 2;
        }
        return checkData(options.pluginDir);
    }
    if (!checkBeforeRun(options, std::cerr))
        return 2;
    return sim::runSimulation(options, std::cout, std::cerr);
}

} // namespace

int main(int argc, char** argv)
{
    // Whatever goes wrong outside the host's calls (a file too large for memory, a folder
    // that cannot be read), one line that says so and a failing exit status, never an abort.
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::cerr << "kellhud-sim: stopped: not enough memory\n";
    } catch (const std::exception& e) {
        std::cerr << "kellhud-sim: stopped: " << printable(e.what(), 200) << "\n";
    } catch (...) {
        std::cerr << "kellhud-sim: stopped by an unexpected error\n";
    }
    return 2;
}
