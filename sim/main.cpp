// kellhud-sim: runs the plug-in inside the simulated host, to test it or to preview a
// layout without the game.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "check/data_check.h"
#include "check/host_report.h"
#include "check/overlaps.h"
#include "command_checks.h"
#include "host_build.h"
#include "host_image.h"
#include "mod_folder.h"
#include "pack/release_zip.h"
#include "pe_file.h"
#include "plugin_loader.h"
#include "run.h"
#include "text/printable.h"

namespace {

const char usage[] =
    "usage: kellhud-sim [--plugin-dir DIR] [--plugin LIBRARY] [--size WxH] [--frames N]\n"
    "                   [--scenario FILE.json] [--style base|mora|sabel] [--trace FILE.jsonl]\n"
    "                   [--trace-frames] [--patches FILE.jsonl] [--png FILE.png] [--unload]\n"
    "                   [--frames-png DIR [--every N]] [--outline] [--verbose]\n"
    "       kellhud-sim --check [--plugin-dir DIR] [--style base|mora|sabel] [--overlaps [--size WxH]]\n"
    "                           [--all-styles]\n"
    "       kellhud-sim --list-plugin-files\n"
    "       kellhud-sim --new-mod DIR\n"
    "       kellhud-sim --pack DIR [OUT] [--plugin-dll KellHud.asi] [--include-extra]\n"
    "       kellhud-sim --check-host GAME.exe | --write-host-image FILE.exe\n"
    "\n"
    "Runs the Kell Hud plug-in in a simulated game host, to test it or to preview a layout.\n"
    "  --plugin-dir DIR     the folder that holds kell-hud/settings.ini; without it, the current\n"
    "                       folder when it holds kell-hud/\n"
    "  --plugin LIBRARY     the plug-in library to load (default: the one beside this program)\n"
    "  --scenario FILE      the host's state frame by frame, a JSON file of at most 64 MB\n"
    "                       (docs/scenario.md; examples in docs/examples/)\n"
    "  --size WxH           the screen in pixels, each side 1 to 16384 (default: the scenario's, else 1920x1080);\n"
    "                       with --check --overlaps: one more size to try\n"
    "  --frames N           frames to run, 0 to 1000000 (default: the scenario's, else 1)\n"
    "  --style NAME         base, mora or sabel: the style (iVesk) for this run; settings.ini is not changed.\n"
    "                       With --check: only that style's colour file and texture dictionaries\n"
    "  --png FILE           the last frame as a PNG picture\n"
    "  --frames-png DIR     every N-th frame and the last as DIR/frame-NNNNN.png (the folder must exist),\n"
    "                       to see blinking, slides and fades; a run of more than two seconds\n"
    "                       shows its progress on a terminal\n"
    "  --outline            with --png or --frames-png: each hud.dat element's box over the picture,\n"
    "                       labelled with its key (docs/layout-files.md)\n"
    "  --every N            with --frames-png: a picture every N frames, 1 to 1000000 (default 1)\n"
    "  --trace FILE         every host call, one JSON line each (docs/trace.md)\n"
    "  --trace-frames       the trace leaves out the calls while the plug-in loads and unloads\n"
    "  --patches FILE       the host code the plug-in changed, one JSON line per run of bytes\n"
    "  --unload             list the patches after unloading instead of after start-up\n"
    "  --verbose            the summary also counts the plug-in's host calls by operation\n"
    "  --check              read the data files and name every line the plug-in reads differently\n"
    "                       from what it says (docs/settings.md, docs/layout-files.md);\n"
    "                       exit status 1 when it finds an error\n"
    "  --overlaps           with --check: also warn of hud.dat elements whose boxes (--outline's) overlap\n"
    "                       or leave the screen, and of subtitles too narrow for a few words, at 1280x720,\n"
    "                       1920x1080, 2560x1440, 3440x1440, 5120x1440 and 1080x1920 (the pairs that\n"
    "                       share a place by design are left out)\n"
    "  --all-styles         with --check: the dictionaries of every style, as if bEnable were 1 (what\n"
    "                       a pack ships: players pick their own style)\n"
    "  --list-plugin-files  every file below the plug-in folder the plug-in can read, with any\n"
    "                       settings (what a pack ships besides the licences)\n"
    "  --new-mod DIR        make DIR/kell-hud from the shipped files (never over an existing one)\n"
    "                       and print the commands to edit, preview, check and pack it\n"
    "  --pack DIR [OUT]     check DIR/kell-hud in every style and, with no errors, write the release\n"
    "                       OUT/KellHud-<version>.zip (default OUT: DIR) a player unzips into the game\n"
    "                       folder: the plug-in, the files of kell-hud/ it reads, the licences, a readme\n"
    "  --plugin-dll FILE    with --pack: the plug-in to ship (default: KellHud.asi beside this program)\n"
    "  --include-extra      with --pack: also the files below kell-hud/ the plug-in never reads\n"
    "  --check-host GAME.exe  run the plug-in's start-up check over a game's executable and list\n"
    "                       every host fact it relies on (docs/host-table.md); exit status 0 only\n"
    "                       when the plug-in would start\n"
    "  --write-host-image FILE.exe  the simulated host's own image as a Windows executable\n"
    "  --help               this text\n"
#ifdef _WIN32
    // The tools zip carries the modders' pages only; the reference pages stay in the source.
    "More in docs\\windows-tools.md beside this program; docs/simulator.md and docs/host-table.md\n"
    "are in Kell Hud's source.\n";
#else
    "More in docs/simulator.md.\n";
#endif

bool parseSize(const char* text, sim::RunOptions& options)
{
    int w = 0, h = 0;
    char extra = 0;
    if (std::sscanf(text, "%dx%d%c", &w, &h, &extra) != 2 || w <= 0 || h <= 0 || w > 16384 || h > 16384) {
        std::cerr << "kellhud-sim: --size " << text << ": give width x height in pixels, e.g. 1920x1080, "
                  << "each from 1 to 16384\n";
        return false;
    }
    options.width = w;
    options.height = h;
    return true;
}

// `--check`: the data files, by file and line, without running anything.
int checkData(const std::string& dir, std::optional<int> style, bool overlaps, bool allStyles, check::ScreenSize size)
{
    int errors = 0, warnings = 0;
    std::vector<check::Finding> findings = check::checkPluginFolder(dir, style, allStyles);
    if (overlaps) {
        const std::vector<check::Finding> more = check::checkOverlaps(dir, size);
        findings.insert(findings.end(), more.begin(), more.end());
    }
    for (const check::Finding& finding : findings) {
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

// `--every N`: says what is wrong itself, since a missing number is its own mistake.
bool parseEvery(const char* value, sim::RunOptions& options)
{
    char* end = nullptr;
    long n = value ? std::strtol(value, &end, 10) : -1;
    if (!value || *end != '\0' || n < 1 || n > 1000000) {
        std::cerr << "kellhud-sim: --every " << (value ? printable(value, 40) : std::string("needs a number"))
                  << ": a picture every N frames, N from 1 to 1000000\n";
        return false;
    }
    options.every = static_cast<int>(n);
    return true;
}

bool parseStyle(const char* value, sim::RunOptions& options)
{
    // The style names in iVesk's order.
    const char* const styles[] = {"base", "mora", "sabel"};
    for (int style = 0; value && style < 3; ++style)
        if (std::string(value) == styles[style]) {
            options.style = style;
            return true;
        }
    std::cerr << "kellhud-sim: --style " << (value ? printable(value, 40) : std::string("needs a name"))
              << ": the styles are base, mora and sabel\n";
    return false;
}

bool parseFrames(const char* value, sim::RunOptions& options)
{
    char* end = nullptr;
    long n = value ? std::strtol(value, &end, 10) : -1;
    if (!value || *end != '\0' || n < 0 || n > 1000000)
        return false;
    options.frames = static_cast<int>(n);
    return true;
}

// A command that ends the reading of the command line where it stands: the words after it
// are not read.
enum class Immediate { None, ListPluginFiles, CheckHost, WriteHostImage, Help };

struct CommandLine {
    sim::RunOptions options;
    std::string newMod;
    std::optional<pack::PackOptions> packing;
    std::string pluginDll;
    bool includeExtra = false;
    bool checkOnly = false, overlaps = false, allStyles = false;
    Immediate immediate = Immediate::None;
    std::string immediateFile; // --check-host's and --write-host-image's file
};

// Reads the words into `line`. Returns -1 to go on, else the exit status of a mistake it
// has reported.
int parseArguments(int argc, char** argv, CommandLine& line)
{
    sim::RunOptions& options = line.options;
    options.pluginFile = sim::defaultPluginFile();
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
            line.checkOnly = true;
        else if (arg == "--overlaps")
            line.overlaps = true;
        else if (arg == "--all-styles")
            line.allStyles = true;
        else if (arg == "--list-plugin-files") {
            line.immediate = Immediate::ListPluginFiles;
            return -1;
        } else if (arg == "--new-mod")
            ok = takes(line.newMod) && !line.newMod.empty();
        else if (arg == "--pack") {
            line.packing.emplace();
            ok = takes(line.packing->dir) && !line.packing->dir.empty();
            // An optional second word: the folder the archive goes to.
            if (ok && i + 1 < argc && argv[i + 1][0] != '-' && argv[i + 1][0] != '\0')
                line.packing->outDir = argv[++i];
        } else if (arg == "--plugin-dll")
            ok = takes(line.pluginDll) && !line.pluginDll.empty();
        else if (arg == "--include-extra")
            line.includeExtra = true;
        else if (arg == "--check-host" || arg == "--write-host-image") {
            if (!takes(line.immediateFile) || line.immediateFile.empty()) {
                std::cerr << "kellhud-sim: " << arg
                          << (arg == "--check-host" ? " needs the game's executable\n" : " needs a file name\n");
                return 2;
            }
            line.immediate = arg == "--check-host" ? Immediate::CheckHost : Immediate::WriteHostImage;
            return -1;
        } else if (arg == "--png")
            ok = takes(options.pngPath);
        else if (arg == "--unload")
            options.unload = true;
        else if (arg == "--verbose")
            options.verbose = true;
        else if (arg == "--outline")
            options.outline = true;
        else if (arg == "--frames-png")
            ok = takes(options.framesDir);
        else if (arg == "--every") {
            if (!parseEvery(value, options))
                return 2;
            ++i;
        } else if (arg == "--style") {
            if (!parseStyle(value, options))
                return 2;
            ++i;
        } else if (arg == "--size")
            ok = value && parseSize(value, options) && ++i;
        else if (arg == "--frames")
            ok = parseFrames(value, options) && ++i;
        else if (arg == "--help" || arg == "-h") {
            line.immediate = Immediate::Help;
            return -1;
        } else {
            std::cerr << "kellhud-sim: unknown option " << printable(arg, 80) << " (kellhud-sim --help lists them)\n";
            return 2;
        }
        if (!ok) {
            std::cerr << "kellhud-sim: bad argument " << arg << (value ? "" : ": it needs a value") << "\n" << usage;
            return 2;
        }
    }
    return -1;
}

int runImmediate(const CommandLine& line)
{
    switch (line.immediate) {
    case Immediate::ListPluginFiles:
        for (const std::string& file : check::pluginFiles())
            std::cout << file << "\n";
        return 0;
    case Immediate::CheckHost:
        return check::checkHostFile(line.immediateFile, std::cout, std::cerr);
    case Immediate::WriteHostImage: {
        std::string error;
        sim::buildHostImage();
        if (!sim::writeHostImage(line.immediateFile, error)) {
            std::cerr << "kellhud-sim: " << error << "\n";
            return 1;
        }
        return 0;
    }
    case Immediate::Help:
    case Immediate::None:
        break;
    }
    std::cout << usage;
    return 0;
}

// Options that only mean something beside another one.
bool optionsGoTogether(const CommandLine& line)
{
    if ((!line.pluginDll.empty() || line.includeExtra) && !line.packing) {
        std::cerr << "kellhud-sim: " << (line.includeExtra ? "--include-extra" : "--plugin-dll") << " goes with --pack DIR\n";
        return false;
    }
    return true;
}

int checkCommand(const CommandLine& line)
{
    if ((line.overlaps || line.allStyles) && !line.checkOnly) {
        const char* option = line.overlaps ? "--overlaps" : "--all-styles";
        std::cerr << "kellhud-sim: " << option << " goes with --check: kellhud-sim --check " << option << "\n";
        return 2;
    }
    std::string message;
    if (sim::checkPluginDir(line.options.pluginDir, message) == sim::PluginDirState::Wrong) {
        std::cerr << "kellhud-sim: " << message << "\n";
        return 2;
    }
    const check::ScreenSize size = {line.options.width.value_or(0), line.options.height.value_or(0)};
    return checkData(line.options.pluginDir, line.options.style, line.overlaps, line.allStyles, size);
}

int run(int argc, char** argv)
{
    CommandLine line;
    if (int status = parseArguments(argc, argv, line); status >= 0)
        return status;
    if (line.immediate != Immediate::None)
        return runImmediate(line);
    if (!optionsGoTogether(line))
        return 2;
    if (line.packing) {
        line.packing->pluginDll = line.pluginDll;
        line.packing->includeExtra = line.includeExtra;
        return pack::packRelease(*line.packing, std::cout, std::cerr);
    }
    if (int status = modFolderCommand(line.newMod, line.options); status >= 0)
        return status;
    if (line.checkOnly || line.overlaps || line.allStyles)
        return checkCommand(line);
    if (!checkBeforeRun(line.options, std::cerr))
        return 2;
    return sim::runSimulation(line.options, std::cout, std::cerr);
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
