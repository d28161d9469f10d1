#include "command_checks.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "text/utf8_path.h"

namespace sim {

namespace fs = std::filesystem;

namespace {

// Opens the file for appending (so nothing in it is lost) and removes it again when this
// made it.
bool canWrite(const fs::path& file)
{
    std::error_code ec;
    const bool existed = fs::exists(file, ec);
    bool ok = static_cast<bool>(std::ofstream(file, std::ios::binary | std::ios::app));
    if (ok && !existed)
        fs::remove(file, ec);
    return ok;
}

} // namespace

bool checkOutputPath(const std::string& option, const std::string& path, std::string& message)
{
    std::error_code ec;
    const fs::path file = utf8Path(path);
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::string problem;
    if (path.empty())
        problem = "no file name given";
    else if (fs::is_directory(file, ec))
        problem = "it is a folder; give a file name inside it";
    else if (!fs::exists(folder, ec))
        problem = "the folder " + utf8Text(folder) + " does not exist";
    else if (!fs::is_directory(folder, ec))
        problem = utf8Text(folder) + " is not a folder";
    else if (!canWrite(file))
        problem = "no permission (check the file and its folder)";
    else
        return true;
    message = option + ": cannot write " + path + ": " + problem;
    return false;
}

PluginDirState checkPluginDir(const std::string& dir, std::string& message)
{
    std::error_code ec;
    const fs::path folder = utf8Path(dir);
    const std::string expected =
        "expected a folder holding kell-hud/settings.ini (kellhud-sim --new-mod DIR makes one)";
    if (fs::is_regular_file(folder / "kell-hud" / "settings.ini", ec))
        return PluginDirState::Ready;
    if (!fs::exists(folder, ec)) {
        message = "--plugin-dir " + dir + ": no such folder; " + expected;
        return PluginDirState::Wrong;
    }
    if (!fs::is_directory(folder, ec)) {
        message = "--plugin-dir " + dir + ": is a file, not a folder; " + expected;
        return PluginDirState::Wrong;
    }
    if (fs::exists(folder / "settings.ini", ec)) {
        fs::path named = fs::absolute(folder, ec).lexically_normal();
        if (!named.has_filename())
            named = named.parent_path(); // "dist/kell-hud/" names the same folder as "dist/kell-hud"
        message = "--plugin-dir " + dir + ": this is the kell-hud folder itself (it holds settings.ini); " + expected +
                  ": give the folder above it, " + utf8Text(named.parent_path());
        return PluginDirState::Wrong;
    }
    message = "--plugin-dir " + dir + ": " + expected + "; found " +
              (fs::is_directory(folder / "kell-hud", ec) ? "kell-hud/ without settings.ini" : "no kell-hud folder") +
              ", so the plug-in finds no settings and stays off";
    return PluginDirState::NoSettings;
}

bool checkPluginLibrary(const std::string& file, std::string& message)
{
    std::ifstream in(file, std::ios::binary);
    char magic[4] = {};
    in.read(magic, 4);
    // The other platform's build of the plug-in: the one library this program cannot load.
#ifdef _WIN32
    const bool foreign = in && magic[0] == '\x7f' && magic[1] == 'E' && magic[2] == 'L' && magic[3] == 'F';
    const char* const why = ": is the Linux build of the plug-in (KellHud.so); kellhud-sim.exe loads the Windows DLL, "
                            "KellHud.asi, as the game does";
#else
    const bool foreign = in && magic[0] == 'M' && magic[1] == 'Z';
    const char* const why = ": is a Windows DLL; KellHud.asi is for the game. The simulated host loads the Linux build "
                            "of the plug-in: build/sim/KellHud.so";
#endif
    if (foreign)
        message = "--plugin " + file + why;
    return !foreign;
}

} // namespace sim
