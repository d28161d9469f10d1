#include "scene.h"

#include <filesystem>

namespace {

// A function, not a global: tests ask for sprites while their own globals are made.
std::string shippedTextures() { return std::string(KELLHUD_ASSETS_DIR) + "/kell-hud/textures"; }

} // namespace

bool texturesBuilt() { return std::filesystem::exists(shippedTextures() + "/weapons.txd"); }

void writeScene(const TempDir& dir, const Scene& scene)
{
    writeSettings(dir, scene.settings);
    if (scene.layout)
        dir.write("kell-hud/data/hud.dat", *scene.layout);
    if (scene.colours)
        dir.write("kell-hud/data/hudColor.dat", *scene.colours);
    if (scene.shippedTextures && texturesBuilt())
        std::filesystem::create_directory_symlink(shippedTextures(), dir.path() + "/kell-hud/textures");
}

SimRun runScene(const TempDir& dir, const Scene& scene)
{
    writeScene(dir, scene);
    std::vector<std::string> args;
    if (!scene.scenario.empty())
        args = {"--scenario", dir.write("scenario.json", scene.scenario)};
    args.insert(args.end(), scene.args.begin(), scene.args.end());
    return runSim(dir, args);
}
