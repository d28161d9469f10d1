// A modder's own folder, walked as a modder walks it: made from the shipped files, edited
// (placement, a colour, an icon swapped with kellhud-txd), checked, previewed and packed;
// the release archive holds exactly the edited folder.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "sim_run.h"

namespace {

namespace fs = std::filesystem;

const fs::path sourceDir = fs::path(KELLHUD_ASSETS_DIR).parent_path();

std::string readFile(const fs::path& path) { return readWholeFile(path.string()); }

void writeFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

struct Command {
    int exitCode;
    std::string out, err;
};

// Runs a shell command in a folder, its output kept apart from the folder's files.
Command inFolder(const fs::path& cwd, const std::string& command)
{
    static int n = 0;
    const std::string base = "/tmp/kellhud-mod-folder-" + std::to_string(getpid()) + "-" + std::to_string(++n);
    const int status =
        std::system(("cd '" + cwd.string() + "' && " + command + " >'" + base + ".out' 2>'" + base + ".err'").c_str());
    Command c{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(base + ".out"), readFile(base + ".err")};
    fs::remove(base + ".out");
    fs::remove(base + ".err");
    return c;
}

// Every file below a folder, by relative path, with its bytes.
std::map<std::string, std::string> filesBelow(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = readFile(entry.path());
    return files;
}

const std::string sim = KELLHUD_SIM_BINARY;
const std::string txd = KELLHUD_TXD_BINARY;
const std::string package = "bash '" + (sourceDir / "scripts/package.sh").string() + "'";

// The project's version, as CMakeLists.txt gives it.
std::string projectVersion()
{
    const std::string text = readFile(sourceDir / "CMakeLists.txt");
    const std::string marker = "project(KellHud VERSION ";
    const size_t at = text.find(marker) + marker.size();
    return text.substr(at, text.find(' ', at) - at);
}
const std::string version = projectVersion();

TEST(ModFolder, MadeEditedCheckedPreviewedAndPackedAsTheModderLeftIt)
{
#ifdef KELLHUD_SANITIZED_SIM
    GTEST_SKIP() << "packing is plain file work: checked in the plain build only";
#endif
    TempDir work;
    const fs::path mod = fs::path(work.path()) / "my hud";
    const fs::path kellHud = mod / "kell-hud";

    Command made = inFolder(work.path(), sim + " --new-mod 'my hud'");
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_NE(made.out.find("Made " + kellHud.string() + " from the shipped files"), std::string::npos) << made.out;
    for (const std::string& next : {" --plugin-dir '" + mod.string() + "' --scenario ", " --check --plugin-dir '" +
                                    mod.string() + "'\n", "scripts/package.sh --from '" + mod.string() + "'\n",
                                    " unpack '" + (kellHud / "textures/hud.txd").string() + "' ", " pack '" + (kellHud / "textures/hud.txd").string() + "' '" + (mod / "png/hud").string() + "'/*.png\n"})
        EXPECT_NE(made.out.find(next), std::string::npos) << next << "\n" << made.out;
    // The shipped files as the release holds them, licences included.
    const fs::path shipped = fs::path(sim).parent_path() / "kell-hud";
    EXPECT_EQ(filesBelow(kellHud), filesBelow(shipped));
    EXPECT_TRUE(fs::is_regular_file(kellHud / "licenses/KellHud-LICENSE.txt"));

    // The radar moved 25 units right, the cellphone clock's colour, and the cellphone's
    // wanted star swapped for another icon of the same dictionary.
    std::string hudDat = readFile(kellHud / "data/hud.dat");
    hudDat = std::regex_replace(hudDat, std::regex("\nHUD_RADAR_OFFSET_X_Y[^\n]*"), "\nHUD_RADAR_OFFSET_X_Y 25 0");
    writeFile(kellHud / "data/hud.dat", hudDat);
    std::string colours = readFile(kellHud / "data/hudColor.dat");
    colours = std::regex_replace(colours, std::regex("\nHUD_COLOUR_CELLPHONE_CLOCK[^;\n]*"),
                                 "\nHUD_COLOUR_CELLPHONE_CLOCK 12 34 56 255 ");
    writeFile(kellHud / "data/hudColor.dat", colours);
    const fs::path png = mod / "png/hud";
    ASSERT_EQ(inFolder(mod, txd + " unpack kell-hud/textures/hud.txd png/hud").exitCode, 0);
    const std::string icon = readFile(png / "hud_target.png");
    ASSERT_FALSE(icon.empty());
    writeFile(png / "star.png", icon);
    Command packed = inFolder(mod, txd + " pack kell-hud/textures/hud.txd png/hud/*.png");
    ASSERT_EQ(packed.exitCode, 0) << packed.err;

    // Checked and previewed in the folder itself, without naming it.
    Command check = inFolder(mod, sim + " --check");
    EXPECT_EQ(check.exitCode, 0) << check.out;
    EXPECT_NE(check.out.find("0 errors, 0 warnings in the data files below " + mod.string() + "\n"), std::string::npos)
        << check.out;
    Command preview = inFolder(mod, sim + " --trace trace.jsonl");
    ASSERT_EQ(preview.exitCode, 0) << preview.err;
    const std::string trace = readFile(mod / "trace.jsonl");
    EXPECT_NE(trace.find(R"("op":"sprite_draw","args":["radarringback",[65,780,325,1040])"), std::string::npos);
    EXPECT_NE(trace.find(R"("op":"text_set_colour","args":[[12,34,56,255]])"), std::string::npos);

    // Packed from the folder: the archive lands in it and holds the folder as it is, with
    // the DLL, the readme and the licences. Files the plug-in never reads stay out, and are
    // named; a read-only folder packs all the same and leaves no temporary folder behind.
    writeFile(kellHud / "licenses/my-icons.txt", "the licence of icons of the modder's own");
    const auto asLeft = filesBelow(kellHud);
    fs::create_directory(kellHud / "png");
    writeFile(kellHud / "png/star.png", icon);
    writeFile(kellHud / "textures/weapons2.txd", "a spare copy");
    fs::permissions(kellHud / "data", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const fs::path temporary = fs::path(work.path()) / "tmp";
    fs::create_directory(temporary);
    Command zip = inFolder(work.path(), "TMPDIR='" + temporary.string() + "' " + package + " --from 'my hud'");
    fs::permissions(kellHud / "data", fs::perms::owner_write, fs::perm_options::add);
    ASSERT_EQ(zip.exitCode, 0) << zip.err;
    EXPECT_NE(zip.err.find("left out of the zip, as the plug-in never reads them (--include-extra ships them):\n"
                           "  kell-hud/png/star.png\n  kell-hud/textures/weapons2.txd\n"),
              std::string::npos)
        << zip.err;
    EXPECT_TRUE(fs::is_empty(temporary));
    const std::string zipFile = zip.out.substr(0, zip.out.find('\n'));
    EXPECT_EQ(fs::path(zipFile).parent_path(), mod);
    const fs::path game = fs::path(work.path()) / "game";
    ASSERT_EQ(inFolder(work.path(), "unzip -q '" + zipFile + "' -d game").exitCode, 0);
    EXPECT_EQ(filesBelow(game / "kell-hud"), asLeft);
    const fs::path withExtra = fs::path(work.path()) / "with-extra";
    ASSERT_EQ(inFolder(work.path(), package + " --from 'my hud' --include-extra with-extra").exitCode, 0);
    ASSERT_EQ(inFolder(work.path(), "unzip -q with-extra/*.zip -d with-extra/game").exitCode, 0);
    EXPECT_EQ(filesBelow(withExtra / "game/kell-hud"), filesBelow(kellHud));
    EXPECT_TRUE(fs::is_regular_file(game / "KellHud.asi"));
    const std::string readme = readFile(game / "KellHud-README.txt");
    EXPECT_EQ(readme.rfind("Kell Hud " + version + "\r\n", 0), 0u) << readme.substr(0, 40);
    EXPECT_EQ(std::count(readme.begin(), readme.end(), '\n'), std::count(readme.begin(), readme.end(), '\r'));
    // The end record: one disk, every member counted twice over, no comment.
    const std::string released = readFile(zipFile);
    ASSERT_GT(released.size(), 22u);
    const std::string endRecord = released.substr(released.size() - 22);
    EXPECT_EQ(endRecord.substr(0, 8), std::string("PK\5\6\0\0\0\0", 8));
    EXPECT_EQ(endRecord.substr(8, 2), endRecord.substr(10, 2));
    EXPECT_EQ(endRecord.substr(20), std::string("\0\0", 2));
    // unzip and Python's zipfile read every member back against its checksum.
    EXPECT_EQ(inFolder(work.path(), "unzip -tq '" + zipFile + "'").exitCode, 0);
    EXPECT_EQ(inFolder(work.path(), "python3 -c 'import sys, zipfile; sys.exit(zipfile.ZipFile(sys.argv[1]).testzip() "
                                    "is not None)' '" + zipFile + "'").exitCode,
              0);

    // kellhud-sim --pack itself (how the Windows tools pack) makes the same bytes, and its
    // failures leave the archive there as it was and nothing half-written beside it.
    const std::string packAs = sim + " --pack 'my hud' ";
    const std::string dll = " --plugin-dll '" + (sourceDir / "build/win32/KellHud.asi").string() + "'";
    Command direct = inFolder(work.path(), packAs + "direct" + dll);
    ASSERT_EQ(direct.exitCode, 0) << direct.err;
    EXPECT_EQ(readFile(direct.out.substr(0, direct.out.find('\n'))), released);
    fs::create_symlink("/dev/full", zipFile + ".partial");
    fs::create_directories(fs::path(work.path()) / "taken" / ("KellHud-" + version + ".zip.partial"));
    writeFile(fs::path(work.path()) / "not-a-dll", "MZ but nothing more");
    // A PE header alone: a program rather than a DLL, and a DLL for 64-bit x86.
    const auto peHeader = [](uint16_t machine, uint16_t characteristics) {
        std::string bytes(0x40 + 24, '\0');
        bytes[0] = 'M', bytes[1] = 'Z', bytes[0x3C] = 0x40;
        bytes.replace(0x40, 4, std::string("PE\0\0", 4));
        bytes[0x44] = static_cast<char>(machine), bytes[0x45] = static_cast<char>(machine >> 8);
        bytes[0x56] = static_cast<char>(characteristics), bytes[0x57] = static_cast<char>(characteristics >> 8);
        return bytes;
    };
    writeFile(fs::path(work.path()) / "a-program.exe", peHeader(0x14C, 0x0102));
    writeFile(fs::path(work.path()) / "a-64-bit.dll", peHeader(0x8664, 0x2022));
    const struct {
        std::string command;
        int exitCode;
        std::string says;
    } failures[] = {
        {packAs + dll, 1, "kellhud-sim --pack: cannot write " + zipFile + ": the disk is full (No space left on device); "
                          "nothing was packed, the archive there is as it was"},
        {packAs + "a-file" + dll, 1, "kellhud-sim --pack: cannot make the folder a-file: "},
        {packAs + "taken" + dll, 1, "kellhud-sim --pack: cannot write " + work.path() + "/taken/KellHud-" + version +
                                        ".zip: Is a directory; nothing was packed"},
        {packAs + "--plugin-dll not-a-dll", 1,
         "kellhud-sim --pack: not-a-dll is not a 32-bit Windows DLL: --plugin-dll takes the plug-in, KellHud.asi"},
        {packAs + "--plugin-dll a-program.exe", 1, "kellhud-sim --pack: a-program.exe is not a 32-bit Windows DLL"},
        {packAs + "--plugin-dll a-64-bit.dll", 1, "kellhud-sim --pack: a-64-bit.dll is not a 32-bit Windows DLL"},
        {packAs + "--plugin-dll no-such.asi", 1, "kellhud-sim --pack: --plugin-dll no-such.asi: no such file"},
        {packAs, 1, "kellhud-sim --pack: no KellHud.asi beside this program (" + fs::path(sim).parent_path().string() +
                        "/KellHud.asi): name the plug-in with --plugin-dll FILE"},
        {sim + " --include-extra", 2, "kellhud-sim: --include-extra goes with --pack DIR"},
    };
    writeFile(fs::path(work.path()) / "a-file", "");
    for (const auto& c : failures) {
        Command run = inFolder(work.path(), c.command);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.command << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.command << "\n" << run.err;
        EXPECT_EQ(readFile(zipFile), released) << c.command;
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(zipFile + ".partial")));
    if (geteuid() != 0) { // root writes into read-only folders all the same
        fs::permissions(mod, fs::perms::owner_write, fs::perm_options::remove);
        Command readOnly = inFolder(work.path(), packAs + dll);
        fs::permissions(mod, fs::perms::owner_write, fs::perm_options::add);
        EXPECT_NE(readOnly.err.find("the folder is read-only or the file is open in another program"), std::string::npos)
            << readOnly.err;
        EXPECT_EQ(readFile(zipFile), released);
    }
    ASSERT_EQ(inFolder(work.path(), txd + " unpack game/kell-hud/textures/hud.txd released").exitCode, 0);
    EXPECT_EQ(readFile(fs::path(work.path()) / "released/star.png"), icon);
}

// Made from any folder into another file system (where the shipped files' copy cannot be
// renamed across): the copy is staged inside the new folder, so nothing lands where the
// command was typed and no half-made copy stays behind. Made again beside earlier
// pictures, the printed commands unpack into a fresh folder.
TEST(ModFolder, MadeOnAnotherFileSystemFromAnywhere)
{
    TempDir here;
    TempDir elsewhere;
    fs::path target = fs::path(elsewhere.path()) / "mod";
    struct stat tmp {}, shm {};
    const bool otherDevice = stat(here.path().c_str(), &tmp) == 0 && stat("/dev/shm", &shm) == 0 && tmp.st_dev != shm.st_dev;
    if (otherDevice)
        target = "/dev/shm/kellhud-mod-" + std::to_string(getpid());
    Command made = inFolder(here.path(), sim + " --new-mod '" + target.string() + "'");
    EXPECT_EQ(made.exitCode, 0) << made.err;
    EXPECT_TRUE(fs::is_empty(here.path()));
    EXPECT_TRUE(fs::is_regular_file(target / "kell-hud/settings.ini"));
    std::set<std::string> inTarget;
    for (const fs::directory_entry& entry : fs::directory_iterator(target))
        inTarget.insert(entry.path().filename().string());
    EXPECT_EQ(inTarget, std::set<std::string>{"kell-hud"});

    // Made again where pictures of an earlier try lie: the printed unpack goes to a
    // folder not there yet, and the pictures stay as they are.
    fs::remove_all(target / "kell-hud");
    for (const char* earlier : {"png/hud", "png/hud-2"}) {
        fs::create_directories(target / earlier);
        writeFile(target / earlier / "star.png", "an edited star");
    }
    made = inFolder(here.path(), sim + " --new-mod '" + target.string() + "'");
    EXPECT_EQ(made.exitCode, 0) << made.err;
    const std::string dictionary = (target / "kell-hud/textures/hud.txd").string() + " ";
    const std::string fresh = (target / "png/hud-3").string();
    EXPECT_NE(made.out.find(" unpack " + dictionary + fresh + "\n"), std::string::npos) << made.out;
    EXPECT_NE(made.out.find(" pack " + dictionary + fresh + "/*.png\n"), std::string::npos) << made.out;
    EXPECT_EQ(readFile(target / "png/hud/star.png"), "an edited star");
    EXPECT_FALSE(fs::exists(target / "png/hud-3"));
    if (otherDevice)
        fs::remove_all(target);
}

// What the modder's folder commands refuse, each with what to do instead, and never a
// file of theirs touched.
TEST(ModFolder, RefusalsSayWhatToDoAndLeaveTheModdersFilesAlone)
{
    TempDir work;
    const fs::path root = work.path();
    work.write("mine/kell-hud/settings.ini", "bEnable = 1\n");
    work.write("broken/kell-hud/settings.ini", "bEnable = off\n");
    work.write("empty/.keep", "");
    work.write("my-copy/settings.ini", "bEnable = 1\n"); // a kell-hud folder under another name
    work.write("a-file", "");
    // A copy of the program alone, away from its build folder, reads nothing of that folder.
    fs::create_directory(root / "bin");
    fs::copy_file(sim, root / "bin/kellhud-sim");
    fs::permissions(root / "bin/kellhud-sim", fs::perms::owner_exec, fs::perm_options::add);
    struct Case {
        const char* folder;
        std::string command;
        int exitCode;
        std::string says;
    } cases[] = {
        {"", sim + " --new-mod mine", 2,
         root.string() + "/mine/kell-hud already exists; nothing was changed. Work on it as it is (kellhud-sim "
                         "--plugin-dir mine)"},
        {"empty", sim + " --check", 2,
         "kellhud-sim: no kell-hud/ folder in the current folder " + root.string() +
             "/empty: pass --plugin-dir DIR, the folder that holds kell-hud/ (kellhud-sim --new-mod DIR makes one"},
        {"mine/kell-hud", sim + " --frames 1", 2,
         "the current folder " + root.string() + "/mine/kell-hud is a kell-hud folder itself: run in the folder "
                                                 "above it, " + root.string() + "/mine, or pass --plugin-dir DIR"},
        {"my-copy", sim + " --check", 2,
         "the current folder " + root.string() + "/my-copy is a kell-hud folder itself: run in the folder above it, " +
             root.string() + ", or pass --plugin-dir DIR"},
        {"", sim + " --new-mod", 2, "kellhud-sim: bad argument --new-mod"},
        {"", "bin/kellhud-sim --new-mod other", 2,
         "kellhud-sim: --new-mod: the shipped files are not beside kellhud-sim: " + root.string() +
             "/bin/kell-hud/settings.ini is missing"},
        {"", sim + " --new-mod a-file", 2, "kellhud-sim: --new-mod: " + root.string() + "/a-file is a file, not a folder"},
        {"", sim + " --new-mod a-file/mod", 2,
         "kellhud-sim: --new-mod: cannot make " + root.string() + "/a-file/mod/kell-hud: Not a directory"},
        {"", package + " --from broken", 1, "kellhud-sim --pack: broken/kell-hud has errors (above); nothing was packed"},
        {"", package + " --from broken", 1, "broken/kell-hud/settings.ini:1: error: "},
        {"", package + " --from empty", 1, "package.sh: empty/kell-hud is missing: --from takes the folder that holds "
                                           "kell-hud/"},
        {"mine", package, 1,
         "package.sh: the current folder " + root.string() + "/mine holds kell-hud/, but without --from this packs the "
                                                             "shipped files, not yours: run scripts/package.sh --from ."},
        {"", package + " --include-extra", 1, "package.sh: --include-extra goes with --from DIR"},
        {"", package + " --help", 0, ""},
        // Every style's dictionaries, not only those of the style settings.ini picks.
        {"", package + " --from no-mora", 1, "kellhud-sim --pack: no-mora/kell-hud has errors (above); nothing was packed"},
    };
    fs::create_directory(root / "no-mora");
    fs::copy(fs::path(sim).parent_path() / "kell-hud", root / "no-mora/kell-hud", fs::copy_options::recursive);
    fs::remove(root / "no-mora/kell-hud/textures/mora/radar.txd");
    const auto before = filesBelow(root);
    for (const Case& c : cases) {
        Command run = inFolder(root / c.folder, c.command);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.command << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.command << "\n" << run.err;
        if (c.exitCode == 0) {
            EXPECT_EQ(run.out.rfind("usage: scripts/package.sh", 0), 0u) << run.out;
        }
    }
    EXPECT_EQ(filesBelow(root), before);
}

} // namespace
