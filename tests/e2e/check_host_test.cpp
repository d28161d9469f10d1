// kellhud-sim --check-host over a game's executable: the simulated host's own image written
// as one, then changed at a routine of ours, at a site, and cut short.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "sim_run.h"

namespace {

// File offset of a host address in the image the sim writes: its code section starts at
// 0x401000 in memory and 0x200 in the file.
long fileOffset(uint32_t address) { return static_cast<long>(address) - 0x401000 + 0x200; }

void overwrite(const std::string& path, uint32_t address, const std::string& bytes)
{
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(fileOffset(address));
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

TEST(CheckHost, ListsEveryHostFactAndSaysWhetherThePluginWouldStart)
{
    TempDir dir;
    const std::string image = dir.path() + "/game.exe";
    SimRun written = runSimWithoutTrace(dir, {"--write-host-image", image});
    ASSERT_EQ(written.exitCode, 0) << written.err;
    if (std::system("command -v i686-w64-mingw32-objdump >/dev/null") == 0) {
        const std::string dump = dir.path() + "/objdump.txt";
        ASSERT_EQ(std::system(("i686-w64-mingw32-objdump -p -h '" + image + "' >'" + dump + "' 2>&1").c_str()), 0);
        std::ifstream in(dump);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (const char* field :
             {"file format pei-i386", "Characteristics 0x103", "ImageBase\t\t00400000", "SizeOfImage\t\t00900000",
              "SizeOfHeaders\t\t00000200", "Subsystem\t\t00000002", "MajorOSystemVersion\t4",
              "MajorSubsystemVersion\t4", "SizeOfStackReserve\t00100000", "SizeOfHeapReserve\t00100000",
              ".text         00457000  00401000", ".data         004a8000  00858000"})
            EXPECT_NE(text.find(field), std::string::npos) << field << "\n" << text;
    }
    SimRun unwritable = runSimWithoutTrace(dir, {"--write-host-image", dir.path() + "/no/such/folder/game.exe"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find("cannot write " + dir.path() + "/no/such/folder/game.exe"), std::string::npos)
        << unwritable.err;

    const struct {
        const char* what;
        uint32_t at; // 0: the file as written
        std::string bytes;
        bool cut;
        int exitCode;
        std::string says;
    } cases[] = {
        {"the sim's own image", 0, "", false, 0, "The plug-in would start with this executable."},
        {"a routine of ours", 0x727230, "\x55\x8B\xEC\x83\xEC\x08\x56\x57", false, 1,
         "0x727230  sprite_construct                     chosen routine: UNCONFIRMED: nobody has matched this "
         "routine in the game yet; found 55 8B EC 83 EC 08 56 57"},
        {"a site", 0x58AE02, std::string(5, '\x90'), false, 1,
         "0x58AE02  site_zone_name_colour                given site: MISMATCH: expects a call into the game, found "
         "90 90 90 90 90"},
        {"cut short", 0, "", true, 2, "it is cut short: its section .text needs 4551168 bytes and the file has 1000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string copy = dir.path() + "/changed.exe";
        std::filesystem::copy_file(image, copy, std::filesystem::copy_options::overwrite_existing);
        if (c.at)
            overwrite(copy, c.at, c.bytes);
        if (c.cut)
            std::filesystem::resize_file(copy, 1000000);
        SimRun run = runSimWithoutTrace(dir, {"--check-host", copy});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.out << run.err;
        EXPECT_NE((run.out + run.err).find(c.says), std::string::npos) << run.out << run.err;
        if (c.exitCode == 0) {
            EXPECT_NE(run.out.find("Sites holding their shape: 32; routines matching: 73; unconfirmed: 0; mismatching: "
                                   "0; patched unchecked: 45; facts not checkable: 90\n"),
                      std::string::npos)
                << run.out;
        }
        if (c.exitCode == 1) {
            EXPECT_NE(run.out.find("The plug-in would not start with this executable; it would show:"),
                      std::string::npos);
        }
    }
}
