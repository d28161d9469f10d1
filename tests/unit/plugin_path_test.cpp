#include "core/plugin_path.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/local_path.h"
#include "sim/system.h"
#include "temp_dir.h"

// Each test runs in a fresh process, so the plug-in folder is looked up anew in each.

TEST(PluginPath, JoinsTheFolderOfThePluginLibrary)
{
    TempDir dir;
    sim::system().pluginFile = dir.path() + "/KellHud.so";

    const std::string path = pluginPath("kell-hud\\settings.ini");
    EXPECT_EQ(localPath(path.c_str()), dir.path() + "/kell-hud/settings.ini");
    EXPECT_EQ(path.find('/'), std::string::npos); // the Windows form, as the seam gives it
    EXPECT_TRUE(sim::system().messageBoxes.empty());
}

TEST(PluginPath, FolderIsFoundOncePerProcess)
{
    TempDir first;
    TempDir second;
    sim::system().pluginFile = first.path() + "/KellHud.so";
    pluginPath("a");
    sim::system().pluginFile = second.path() + "/KellHud.so";
    EXPECT_EQ(localPath(pluginPath("a")), first.path() + "/a");
}

TEST(PluginPath, FailedModuleLookUpWarnsOnceAndUsesTheHostFolder)
{
    TempDir plugin;
    TempDir host;
    sim::system().pluginFile = plugin.path() + "/KellHud.so";
    sim::system().hostFile = host.path() + "/game.exe";
    sim::system().moduleLookupFails = true;

    EXPECT_EQ(localPath(pluginPath("kell-hud\\settings.ini")), host.path() + "/kell-hud/settings.ini");
    pluginPath("kell-hud\\data\\hud.dat");

    ASSERT_EQ(sim::system().messageBoxes.size(), 1u);
    const sim::MessageBoxShown& box = sim::system().messageBoxes[0];
    EXPECT_EQ(box.text, "FILESYSTEM\nFailed to retrieve plugin dir path");
    EXPECT_EQ(box.caption, "plugin-sdk");
    EXPECT_EQ(box.type, 0u);
    EXPECT_FALSE(box.hadOwner);
}

TEST(PluginPath, PathLongerThanTheBufferIsEmpty)
{
    TempDir dir;
    sim::system().pluginFile = dir.path() + "/KellHud.so";
    const size_t folder = std::string(pluginPath("")).size();
    ASSERT_LT(folder, 200u);

    const std::string fits(260 - folder, 'f');
    EXPECT_EQ(std::string(pluginPath(fits.c_str())).size(), 260u);
    const std::string tooLong(261 - folder, 'f');
    EXPECT_STREQ(pluginPath(tooLong.c_str()), "");
    EXPECT_STREQ(pluginPath(std::string(5000, 'f').c_str()), "");
    // A rejected path leaves nothing behind for the next one.
    EXPECT_EQ(localPath(pluginPath("b")), dir.path() + "/b");
}

namespace {

// A plug-in file whose full name is exactly `length` characters.
std::string pluginFileOfLength(const TempDir& dir, size_t length)
{
    const std::string folder = dir.path() + "/";
    return folder + std::string(length - folder.size(), 'n');
}

} // namespace

TEST(PluginPath, ModuleNameThatJustFitsIsUsed)
{
    TempDir dir;
    sim::system().pluginFile = pluginFileOfLength(dir, 259);
    EXPECT_EQ(localPath(pluginPath("x")), dir.path() + "/x");
}

TEST(PluginPath, ModuleNameCutShortGivesNoFolder)
{
    TempDir dir;
    sim::system().pluginFile = pluginFileOfLength(dir, 260);
    EXPECT_STREQ(pluginPath("x"), "");
    EXPECT_STREQ(pluginPath(""), "");
}
