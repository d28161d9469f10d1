#include "studio/file_write.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include <unistd.h>

#include "temp_dir.h"

namespace fs = std::filesystem;

TEST(StudioFileWrite, ReplacesTheFileWholeOrNotAtAll)
{
    const bool root = geteuid() == 0; // permissions do not stop root
    const struct {
        const char* name;
        // Prepares the folder; returns the file to replace.
        std::function<std::string(const TempDir&)> setUp;
        std::string bytes;
        const char* cause; // nullptr: the save succeeds
        std::optional<std::string> after; // the file's bytes afterwards; nullopt: no file
    } rows[] = {
        {"the bytes replace the old ones exactly", [](const TempDir& dir) { return dir.write("hud.dat", "old\r\n"); },
         std::string("new\0\r\n\xFF", 7), nullptr, std::string("new\0\r\n\xFF", 7)},
        {"a new file, UTF-8 name", [](const TempDir& dir) { return dir.path() + "/caf\xC3\xA9.ini"; }, "bEnable = 1\n",
         nullptr, "bEnable = 1\n"},
        {"no bytes leave an empty file", [](const TempDir& dir) { return dir.write("hud.dat", "old"); }, "", nullptr,
         ""},
        {"a full disk",
         [](const TempDir& dir) {
             const std::string file = dir.write("hud.dat", "old");
             fs::create_symlink("/dev/full", file + ".studio-partial");
             return file;
         },
         std::string(100000, 'x'), "the disk is full", "old"},
        {"a missing folder", [](const TempDir& dir) { return dir.path() + "/gone/hud.dat"; }, "x", "does not exist",
         std::nullopt},
        {"a folder in the file's place",
         [](const TempDir& dir) {
             dir.write("hud.dat/inside", "kept");
             return dir.path() + "/hud.dat";
         },
         "x", "hud.dat", std::nullopt},
        {"a read-only folder",
         [root](const TempDir& dir) {
             const std::string file = dir.write("ro/hud.dat", "old");
             if (!root)
                 fs::permissions(dir.path() + "/ro", fs::perms::owner_read | fs::perms::owner_exec);
             return file;
         },
         "x", root ? nullptr : "the folder is read-only", root ? "x" : "old"},
    };
    for (const auto& row : rows) {
        if (std::string(row.name) == "a full disk" && !fs::exists("/dev/full"))
            continue;
        TempDir dir;
        const std::string file = row.setUp(dir);
        std::string error;
        const bool saved = studio::replaceFile(file, row.bytes, error);
        EXPECT_EQ(saved, row.cause == nullptr) << row.name << ": " << error;
        if (row.cause) {
            EXPECT_NE(error.find(row.cause), std::string::npos) << row.name << ": " << error;
            EXPECT_NE(error.find(file), std::string::npos) << row.name << ": " << error;
        }
        if (row.after) {
            EXPECT_TRUE(fs::is_regular_file(file)) << row.name;
            EXPECT_EQ(readWholeFile(file), *row.after) << row.name;
        } else {
            EXPECT_FALSE(fs::is_regular_file(file)) << row.name;
        }
        std::error_code ec;
        EXPECT_FALSE(fs::exists(fs::symlink_status(file + ".studio-partial", ec))) << row.name;
        fs::permissions(dir.path(), fs::perms::owner_all, ec);
        if (fs::exists(dir.path() + "/ro"))
            fs::permissions(dir.path() + "/ro", fs::perms::owner_all, ec);
    }

    // The new bytes keep the old file's permissions.
    TempDir dir;
    const std::string file = dir.write("hud.dat", "old");
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read;
    fs::permissions(file, readOnly);
    std::string error;
    EXPECT_TRUE(studio::replaceFile(file, "new", error)) << error;
    EXPECT_EQ(readWholeFile(file), "new");
    EXPECT_EQ(fs::status(file).permissions(), readOnly);
}
