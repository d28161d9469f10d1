// kellhud-sim: runs the plug-in inside the simulated host, to test it or to preview a
// layout without the game.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "plugin_loader.h"
#include "run.h"

namespace {

const char usage[] =
    "usage: kellhud-sim [--plugin-dir DIR] [--plugin LIBRARY] [--size WxH] [--frames N]\n"
    "                   [--scenario FILE.json] [--trace FILE.jsonl] [--patches FILE.jsonl] [--unload]\n"
    "                   [--png FILE.png]\n";

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

} // namespace

int main(int argc, char** argv)
{
    sim::RunOptions options;
    options.pluginDir = KELLHUD_ASSETS_DIR;
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
    return sim::runSimulation(options, std::cout, std::cerr);
}
