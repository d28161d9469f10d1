#include "mod_folder.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include "plugin_loader.h"
#include "text/utf8_path.h"

namespace sim {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
// A path as the command prompt reads it back: in double quotes when it holds a space or
// a character the prompt treats on its own.
std::string shellWord(const std::string& path)
{
    return !path.empty() && path.find_first_of(" &()[]{}^=;!'+,`~%") == std::string::npos ? path : '"' + path + '"';
}
const char* const programSuffix = ".exe";
#else
// A path as a shell reads it back: quoted when it holds anything but plain name bytes (a
// wildcard goes after the quotes).
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
const char* const programSuffix = "";
#endif

// The checkout a build folder sits in (build/sim/ two levels down), when there is one:
// only to name its scripts and examples in the commands printed, never to read data.
fs::path checkoutOf(const fs::path& program)
{
    fs::path root = program.parent_path().parent_path();
    std::error_code ec;
    return fs::is_regular_file(root / "scripts" / "package.sh", ec) ? root : fs::path();
}

// The example scenario to preview with: the checkout's, or the one of the Windows tools'
// folder (examples/ beside the program).
fs::path exampleScenario(const fs::path& program, const fs::path& checkout)
{
    std::error_code ec;
    const fs::path beside = program / "examples" / "preview.json";
    if (!checkout.empty())
        return checkout / "docs" / "examples" / "preview.json";
    return fs::is_regular_file(beside, ec) ? beside : fs::path();
}

// Where the printed unpack command puts the pictures: a folder not there yet, so that the
// command never meets pictures the modder edited in an earlier try in the same folder.
fs::path freshPictureFolder(const fs::path& dir)
{
    std::error_code ec;
    fs::path folder = dir / "png" / "hud";
    for (int n = 2; fs::exists(fs::symlink_status(folder, ec)); ++n)
        folder = dir / "png" / ("hud-" + std::to_string(n));
    return folder;
}

void printNextCommands(const fs::path& dir, std::ostream& out)
{
    const fs::path program = utf8Path(programFolder());
    const fs::path checkout = checkoutOf(program);
    const auto word = [](const fs::path& path) { return shellWord(utf8Text(path)); };
    const std::string d = word(dir);
    const std::string sim = word(program / (std::string("kellhud-sim") + programSuffix));
    const std::string txd = word(program / (std::string("kellhud-txd") + programSuffix));
    const std::string studio = word(program / (std::string("kellhud-studio") + programSuffix));
    const fs::path kellHud = dir / "kell-hud";
    const fs::path scenario = exampleScenario(program, checkout);
    const fs::path pictures = freshPictureFolder(dir);
#ifdef _WIN32
    const std::string package = sim + " --pack " + d;
#else
    const std::string package =
        checkout.empty() ? "bash scripts/package.sh --from " + d + "   (in the Kell Hud source folder)"
                         : "bash " + word(checkout / "scripts" / "package.sh") + " --from " + d;
#endif
    out << "Next, all on this folder (nothing outside it changes):\n"
        << "  edit     " << word(kellHud / "settings.ini") << ", " << word(kellHud / "data" / "hud.dat") << ", "
        << word(kellHud / "data" / "hudColor.dat") << "\n"
        << "           an icon: " << txd << " unpack " << word(kellHud / "textures" / "hud.txd") << " "
        << word(pictures) << "\n"
        << "           then, after editing the PNGs: " << txd << " pack " << word(kellHud / "textures" / "hud.txd") << " "
        << word(pictures) << static_cast<char>(fs::path::preferred_separator) << "*.png\n"
        << "  lay out  " << studio << " --plugin-dir " << d << "   (in the browser: drag, anchor, recolour, save)\n"
        << "  preview  " << sim << " --plugin-dir " << d << (scenario.empty() ? "" : " --scenario " + word(scenario))
        << " --png " << word(dir / "hud.png") << "\n"
        << "  check    " << sim << " --check --plugin-dir " << d << "\n"
        << "  pack     " << package << "\n"
        << "(in " << d << " itself, --plugin-dir can be left out)\n";
}

} // namespace

std::string shippedFolder() { return utf8Text(utf8Path(programFolder()) / "kell-hud"); }

bool currentPluginDir(std::string& dir, std::string& message)
{
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    if (ec) {
        message = "the current folder cannot be read (" + ec.message() + "); pass --plugin-dir DIR";
        return false;
    }
    if (fs::is_directory(here / "kell-hud", ec)) {
        dir = utf8Text(here);
        return true;
    }
    const std::string what = "pass --plugin-dir DIR, the folder that holds kell-hud/ (kellhud-sim --new-mod DIR "
                             "makes one from the shipped files)";
    if (here.filename() == "kell-hud" || fs::exists(here / "settings.ini", ec))
        message = "the current folder " + utf8Text(here) + " is a kell-hud folder itself: run in the folder above it, " +
                  utf8Text(here.parent_path()) + ", or " + what;
    else
        message = "no kell-hud/ folder in the current folder " + utf8Text(here) + ": " + what;
    return false;
}

int makeModFolder(const std::string& dir, const std::string& shipped, std::ostream& out, std::ostream& err)
{
    std::error_code ec;
    const fs::path from = utf8Path(shipped);
    if (!fs::is_regular_file(from / "settings.ini", ec)) {
        err << "kellhud-sim: --new-mod: the shipped files are not beside kellhud-sim: " << utf8Text(from / "settings.ini")
            << " is missing (build the sim preset; a copied kellhud-sim needs its kell-hud/ folder beside it)\n";
        return 2;
    }
    const fs::path folder = fs::absolute(utf8Path(dir), ec).lexically_normal();
    const fs::path target = folder / "kell-hud";
    if (fs::exists(fs::symlink_status(target, ec))) {
        err << "kellhud-sim: --new-mod: " << utf8Text(target)
            << " already exists; nothing was changed. Work on it as it is (kellhud-sim --plugin-dir " << shellWord(dir)
            << "), or name a new folder\n";
        return 2;
    }
    if (fs::exists(folder, ec) && !fs::is_directory(folder, ec)) {
        err << "kellhud-sim: --new-mod: " << utf8Text(folder) << " is a file, not a folder\n";
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
        err << "kellhud-sim: --new-mod: cannot make " << utf8Text(target) << ": " << ec.message() << "\n";
        return 2;
    }
    out << "Made " << utf8Text(target) << " from the shipped files (" << utf8Text(from) << ").\n";
    printNextCommands(folder, out);
    return 0;
}

} // namespace sim
