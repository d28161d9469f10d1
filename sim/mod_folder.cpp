#include "mod_folder.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include "plugin_loader.h"

namespace sim {

namespace fs = std::filesystem;

namespace {

// A path as a shell reads it back: quoted when it holds anything but plain name bytes.
std::string shellWord(const std::string& path)
{
    if (!path.empty() && path.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+:,@") ==
                             std::string::npos)
        return path;
    std::string quoted = "'";
    for (char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The checkout a build folder sits in (build/sim/ two levels down), when there is one:
// only to name its scripts and examples in the commands printed, never to read data.
fs::path checkoutOf(const fs::path& program)
{
    fs::path root = program.parent_path().parent_path();
    std::error_code ec;
    return fs::is_regular_file(root / "scripts" / "package.sh", ec) ? root : fs::path();
}

void printNextCommands(const fs::path& dir, std::ostream& out)
{
    const fs::path program = programFolder();
    const fs::path checkout = checkoutOf(program);
    const std::string d = shellWord(dir.string());
    const std::string sim = shellWord((program / "kellhud-sim").string());
    const std::string txd = shellWord((program / "kellhud-txd").string());
    const std::string kellHud = shellWord((dir / "kell-hud").string());
    const fs::path scenario = checkout.empty() ? fs::path() : checkout / "docs" / "examples" / "preview.json";
    const std::string package =
        checkout.empty() ? "bash scripts/package.sh --from " + d + "   (in the Kell Hud source folder)"
                         : "bash " + shellWord((checkout / "scripts" / "package.sh").string()) + " --from " + d;
    out << "Next, all on this folder (nothing outside it changes):\n"
        << "  edit     " << kellHud << "/settings.ini, data/hud.dat, data/hudColor.dat\n"
        << "           an icon: " << txd << " unpack " << kellHud << "/textures/hud.txd " << d << "/png/hud\n"
        << "           then, after editing the PNGs: " << txd << " pack " << kellHud << "/textures/hud.txd " << d
        << "/png/hud/*.png\n"
        << "  preview  " << sim << " --plugin-dir " << d
        << (scenario.empty() ? "" : " --scenario " + shellWord(scenario.string())) << " --png " << d << "/hud.png\n"
        << "  check    " << sim << " --check --plugin-dir " << d << "\n"
        << "  pack     " << package << "\n"
        << "(in " << d << " itself, --plugin-dir can be left out)\n";
}

} // namespace

std::string shippedFolder() { return (fs::path(programFolder()) / "kell-hud").string(); }

bool currentPluginDir(std::string& dir, std::string& message)
{
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    if (ec) {
        message = "the current folder cannot be read (" + ec.message() + "); pass --plugin-dir DIR";
        return false;
    }
    if (fs::is_directory(here / "kell-hud", ec)) {
        dir = here.string();
        return true;
    }
    const std::string what = "pass --plugin-dir DIR, the folder that holds kell-hud/ (kellhud-sim --new-mod DIR "
                             "makes one from the shipped files)";
    if (here.filename() == "kell-hud" || fs::exists(here / "settings.ini", ec))
        message = "the current folder " + here.string() + " is a kell-hud folder itself: run in the folder above it, " +
                  here.parent_path().string() + ", or " + what;
    else
        message = "no kell-hud/ folder in the current folder " + here.string() + ": " + what;
    return false;
}

int makeModFolder(const std::string& dir, const std::string& shipped, std::ostream& out, std::ostream& err)
{
    std::error_code ec;
    const fs::path from(shipped);
    if (!fs::is_regular_file(from / "settings.ini", ec)) {
        err << "kellhud-sim: --new-mod: the shipped files are not beside kellhud-sim: " << (from / "settings.ini").string()
            << " is missing (build the sim preset; a copied kellhud-sim needs its kell-hud/ folder beside it)\n";
        return 2;
    }
    const fs::path folder = fs::absolute(fs::path(dir), ec).lexically_normal();
    const fs::path target = folder / "kell-hud";
    if (fs::exists(fs::symlink_status(target, ec))) {
        err << "kellhud-sim: --new-mod: " << target.string()
            << " already exists; nothing was changed. Work on it as it is (kellhud-sim --plugin-dir " << shellWord(dir)
            << "), or name a new folder\n";
        return 2;
    }
    if (fs::exists(folder, ec) && !fs::is_directory(folder, ec)) {
        err << "kellhud-sim: --new-mod: " << folder.string() << " is a file, not a folder\n";
        return 2;
    }
    // Copied under a name of its own, then renamed: a copy that fails half-way leaves no
    // kell-hud/ that looks finished.
    const fs::path partial =
        folder / (".kell-hud.new-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(folder, ec);
    if (!ec)
        fs::copy(from, partial, fs::copy_options::recursive, ec);
    if (!ec)
        fs::rename(partial, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove_all(partial, ignored);
        err << "kellhud-sim: --new-mod: cannot make " << target.string() << ": " << ec.message() << "\n";
        return 2;
    }
    out << "Made " << target.string() << " from the shipped files (" << from.string() << ").\n";
    printNextCommands(folder, out);
    return 0;
}

} // namespace sim
