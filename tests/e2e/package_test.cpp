// The release archive: made by scripts/package.sh, unpacked as a player unpacks it into
// the game folder, and run from there by the simulated host.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "sim_run.h"

namespace {

namespace fs = std::filesystem;

const fs::path sourceDir = fs::path(KELLHUD_ASSETS_DIR).parent_path();

std::string readFile(const fs::path& path) { return readWholeFile(path.string()); }

int shell(const std::string& command) { return std::system(command.c_str()); }

TEST(Package, ZipUnpacksIntoAGameFolderThatRuns)
{
#ifdef KELLHUD_SANITIZED_SIM
    GTEST_SKIP() << "packaging is plain file work: checked in the plain build only";
#endif
    const fs::path asi = sourceDir / "build/win32/KellHud.asi";
    ASSERT_TRUE(fs::exists(asi)) << asi << " is missing: build the Windows DLL first (scripts/build.sh, or "
                                           "cmake --preset win32 && cmake --build --preset win32)";
    TempDir out;
    TempDir game;
    ASSERT_EQ(shell("bash '" + (sourceDir / "scripts/package.sh").string() + "' '" + out.path() + "' >'" +
                    out.path() + "/zip-name'"),
              0);

    const std::string cmake = readFile(sourceDir / "CMakeLists.txt");
    const std::string marker = "project(KellHud VERSION ";
    const size_t at = cmake.find(marker);
    ASSERT_NE(at, std::string::npos);
    const std::string version = cmake.substr(at + marker.size(), cmake.find(' ', at + marker.size()) - at - marker.size());
    const fs::path zip = fs::path(out.path()) / ("KellHud-" + version + ".zip");
    const fs::path toolsZip = fs::path(out.path()) / ("KellHud-" + version + "-modder-tools-win32.zip");
    EXPECT_EQ(readFile(out.path() + "/zip-name"), zip.string() + "\n" + toolsZip.string() + "\n");
    ASSERT_EQ(shell("unzip -q '" + zip.string() + "' -d '" + game.path() + "'"), 0);

    // The archive's root is what goes into the game folder, under names no other mod uses.
    std::set<std::string> root;
    for (const fs::directory_entry& entry : fs::directory_iterator(game.path()))
        root.insert(entry.path().filename().string());
    EXPECT_EQ(root, (std::set<std::string>{"KellHud.asi", "KellHud-README.txt", "kell-hud"}));

    const fs::path kellHud = fs::path(game.path()) / "kell-hud";
    const std::string dll = readFile(fs::path(game.path()) / "KellHud.asi");
    EXPECT_EQ(dll, readFile(asi));
    EXPECT_LT(dll.size(), readFile(asi.string() + ".debug").size()) << "the shipped DLL keeps its debug sections";
    for (const char* file : {"settings.ini", "data/hud.dat", "data/hudColor.dat", "data/mora/hudColor.dat",
                             "data/sabel/hudColor.dat", "textures/hud.txd", "textures/blips.txd",
                             "licenses/KellHud-LICENSE.txt", "licenses/game-icons.txt", "licenses/dejavu-fonts.txt"})
        EXPECT_TRUE(fs::is_regular_file(kellHud / file)) << file;
    EXPECT_NE(readFile(kellHud / "licenses/KellHud-LICENSE.txt").find("MIT License"), std::string::npos);

    const std::string readme = readFile(fs::path(game.path()) / "KellHud-README.txt");
    for (const std::string& mention : {"Kell Hud " + version, std::string("F11"), std::string("kell-hud/settings.ini"),
                                      std::string("Uninstall"), std::string("bEnable = 0"), std::string("MIT"),
                                      std::string("Something is wrong?"), std::string("Which game build")})
        EXPECT_NE(readme.find(mention), std::string::npos) << mention;
    for (size_t at = readme.find('\n'); at != std::string::npos; at = readme.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && readme[at - 1] == '\r') << "a line of the readme ends without CR, at byte " << at;

    // One version everywhere: the DLL's version resource (UTF-16, each value after its key's
    // NUL and padding) and the watermark's "v1.3".
    auto resource = [&dll](const std::string& key) {
        std::string wide;
        for (char c : key)
            wide += std::string{c, '\0'};
        size_t at = dll.find(wide);
        if (at == std::string::npos)
            return std::string("(no ") + key + ")";
        at += wide.size();
        while (at < dll.size() && dll[at] == '\0')
            ++at;
        std::string value;
        for (; at + 1 < dll.size() && dll[at] != '\0'; at += 2)
            value += dll[at];
        return value;
    };
    EXPECT_EQ(resource("ProductVersion"), version);
    EXPECT_EQ(resource("FileVersion"), version);
    EXPECT_EQ(resource("ProductName"), "Kell Hud");
    const std::string shortVersion = "v" + version.substr(0, version.rfind('.'));
    EXPECT_NE(dll.find(shortVersion + '\0'), std::string::npos) << shortVersion;

    // The modders' tools unzip into one folder of their own (into the game folder too) and
    // carry the same plug-in; the programs need no DLL beside them.
    TempDir tools;
    ASSERT_EQ(shell("unzip -q '" + toolsZip.string() + "' -d '" + tools.path() + "'"), 0);
    std::set<std::string> toolsRoot;
    for (const fs::directory_entry& entry : fs::directory_iterator(tools.path()))
        toolsRoot.insert(entry.path().filename().string());
    EXPECT_EQ(toolsRoot, std::set<std::string>{"KellHud-modder-tools"});
    const fs::path kit = fs::path(tools.path()) / "KellHud-modder-tools";
    for (const char* file : {"kellhud-sim.exe", "kellhud-txd.exe", "kellhud-studio.exe", "docs/studio.md", "docs/studio.png",
                             "licenses/cpp-httplib.txt", "README.txt", "kell-hud/settings.ini",
                             "kell-hud/textures/hud.txd", "examples/preview.json", "docs/windows-tools.md",
                             "docs/layout-files.md", "licenses/KellHud-LICENSE.txt", "licenses/nlohmann-json.txt",
                             "fonts/DejaVuSans-Bold.ttf", "fonts/DejaVuSerif-Bold.ttf", "fonts/DejaVuSansMono-Bold.ttf",
                             "licenses/dejavu-fonts.txt"})
        EXPECT_TRUE(fs::is_regular_file(kit / file)) << file;
    // No path of the machine that built them: on a player's or modder's PC it leads nowhere.
    for (const char* program : {"kellhud-sim.exe", "kellhud-txd.exe", "kellhud-studio.exe", "KellHud.asi"}) {
        const std::string bytes = readFile(kit / program);
        for (const std::string& path : {std::string("/usr/"), std::string("/home/"), sourceDir.string()})
            EXPECT_EQ(bytes.find(path), std::string::npos) << program << " holds " << path;
    }
    EXPECT_EQ(readFile(kit / "KellHud.asi"), readFile(asi));
    EXPECT_NE(readFile(kit / "README.txt").find("Kell Hud " + version + ": modders' tools for Windows\r\n"), std::string::npos);
    // The kit's docs read on their own on Windows: every relative link leads to a file in the
    // kit, and no source-only passage or marker is left.
    EXPECT_TRUE(fs::is_regular_file(kit / "docs/previews/base.png"));
    const std::regex link(R"(\]\(([^)\s]*)\))"), scheme("^[A-Za-z][A-Za-z0-9+.-]*:");
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kit / "docs")) {
        if (entry.path().extension() != ".md")
            continue;
        const std::string page = readFile(entry.path()), name = entry.path().filename().string();
        for (const char* source : {"build/sim/", "bash scripts/", "scripts/package.sh", "README.md", "<!--"})
            EXPECT_EQ(page.find(source), std::string::npos) << name << " holds " << source;
        for (std::sregex_iterator it(page.begin(), page.end(), link), end; it != end; ++it) {
            const std::string target = (*it)[1];
            if (target.rfind('#', 0) == 0 || std::regex_search(target, scheme))
                continue;
            const fs::path file = (entry.path().parent_path() / target.substr(0, target.find('#'))).lexically_normal();
            EXPECT_TRUE(!target.empty() && fs::is_regular_file(file) && file.string().rfind(kit.string() + "/", 0) == 0)
                << name << " links to \"" << target << "\", which the kit does not hold";
        }
    }
    for (const char* exe : {"kellhud-sim.exe", "kellhud-txd.exe"})
        EXPECT_EQ(shell("bash '" + (sourceDir / "scripts/check-dll.sh").string() + "' --program '" + (kit / exe).string() +
                        "' >/dev/null"),
                  0)
            << exe << " needs more than the system's own DLLs";

    // The simulated host runs the unpacked folder as the game would, and the HUD draws.
    SimRun run = runSimWithoutTrace(game, {"--frames", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("  settings: " + kellHud.string() + "/settings.ini\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("sprites drawn by the plug-in:"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("(no texture)"), std::string::npos) << run.out;
}

} // namespace
