// The simulated host's texture dictionary slots and the current dictionary.

#include "textures.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "sim_run.h"
#include "system.h"
#include "temp_dir.h"
#include "txd/txd.h"

namespace {

std::string writeDictionary(const TempDir& dir, const std::string& name, std::vector<std::string> textures)
{
    txd::Dictionary d;
    for (const std::string& t : textures) {
        txd::Texture texture;
        texture.name = t;
        texture.width = texture.height = 1;
        texture.levels = {{1, 2, 3, 4}};
        d.textures.push_back(texture);
    }
    std::string path = dir.path() + "/" + name;
    std::string error;
    EXPECT_TRUE(txd::writeFile(path, d, error)) << error;
    return path;
}

class SimTextures : public ::testing::Test {
protected:
    void SetUp() override { sim::resetTextureDictionaries(); }
    TempDir dir;
};

TEST_F(SimTextures, SlotsByNameTakeTheLowestFreeIndexAndAreFreedWhole)
{
    EXPECT_EQ(sim::addTextureSlot("fonts"), 0);
    EXPECT_EQ(sim::addTextureSlot("hudkell"), 1);
    EXPECT_EQ(sim::addTextureSlot("HUDKELL"), 1); // names regardless of case
    EXPECT_EQ(sim::addTextureSlot("radarkell"), 2);
    EXPECT_EQ(sim::findTextureSlot("radarKell"), 2);
    EXPECT_EQ(sim::findTextureSlot("blipskell"), -1);

    EXPECT_TRUE(sim::removeTextureSlot(1));
    EXPECT_FALSE(sim::removeTextureSlot(1));
    EXPECT_FALSE(sim::removeTextureSlot(-1));
    EXPECT_FALSE(sim::removeTextureSlot(7));
    EXPECT_EQ(sim::findTextureSlot("hudkell"), -1);
    EXPECT_EQ(sim::textureSlotNames(), (std::vector<std::string>{"fonts", "radarkell"}));
    EXPECT_EQ(sim::addTextureSlot("weaponskell"), 1);
}

TEST_F(SimTextures, LookUpsSearchOnlyTheCurrentDictionaryWhichPopRestores)
{
    int32_t a = sim::addTextureSlot("a");
    int32_t b = sim::addTextureSlot("b");
    std::string error;
    ASSERT_TRUE(sim::loadTextureSlot(a, writeDictionary(dir, "a.txd", {"star", "Ring"}), error)) << error;
    ASSERT_TRUE(sim::loadTextureSlot(b, writeDictionary(dir, "b.txd", {"m4"}), error)) << error;

    sim::setCurrentDictionary(a);
    uint32_t ring = sim::findCurrentTexture("ring");
    ASSERT_NE(ring, 0u);
    EXPECT_STREQ(sim::textureName(ring), "Ring"); // the dictionary's own spelling
    EXPECT_EQ(sim::findCurrentTexture("m4"), 0u);

    sim::pushCurrentDictionary();
    sim::setCurrentDictionary(b);
    EXPECT_NE(sim::findCurrentTexture("m4"), 0u);
    EXPECT_EQ(sim::findCurrentTexture("star"), 0u);
    EXPECT_TRUE(sim::popCurrentDictionary());
    EXPECT_EQ(sim::currentDictionary(), a);
    EXPECT_FALSE(sim::popCurrentDictionary());

    // A texture outlives its slot for the sprites that hold it; the slot finds it no more.
    EXPECT_TRUE(sim::removeTextureSlot(a));
    EXPECT_STREQ(sim::textureName(ring), "Ring");
    EXPECT_EQ(sim::findCurrentTexture("ring"), 0u);
    EXPECT_EQ(sim::textureName(0), nullptr);
    EXPECT_EQ(sim::textureName(999), nullptr);
}

TEST_F(SimTextures, AFailedLoadLeavesTheSlotEmpty)
{
    int32_t slot = sim::addTextureSlot("a");
    std::string error;
    ASSERT_TRUE(sim::loadTextureSlot(slot, writeDictionary(dir, "a.txd", {"star"}), error));
    EXPECT_FALSE(sim::loadTextureSlot(slot, dir.path() + "/missing.txd", error));
    sim::setCurrentDictionary(slot);
    EXPECT_EQ(sim::findCurrentTexture("star"), 0u);
    EXPECT_FALSE(sim::loadTextureSlot(5, dir.path() + "/a.txd", error));
    EXPECT_NE(error.find("does not exist"), std::string::npos);
}

TEST_F(SimTextures, HostPathsAreWindowsPathsRelativeToTheHostFolder)
{
    sim::system().hostFile = "/games/host/host.exe";
    EXPECT_EQ(sim::hostFilePath("models\\fonts.txd"), "/games/host/models/fonts.txd");
    EXPECT_EQ(sim::hostFilePath("\\tmp\\x\\kell-hud\\textures\\hud.txd"), "/tmp/x/kell-hud/textures/hud.txd");
}

TEST_F(SimTextures, OpenFilesAreReadByHandleUntilClosed)
{
    std::string path = dir.write("data/fonts.dat", "font1 8\n");
    std::string error;
    EXPECT_EQ(sim::openHostFile(dir.path() + "/nothing", error), 0);
    EXPECT_EQ(error, ""); // the host's ordinary failure
    int32_t handle = sim::openHostFile(path, error);
    EXPECT_EQ(handle, 1);
    std::string content;
    ASSERT_TRUE(sim::readHostFile(handle, content, error));
    EXPECT_EQ(content, "font1 8\n");
    sim::closeHostFile(handle);
    EXPECT_FALSE(sim::readHostFile(handle, content, error));
    EXPECT_EQ(sim::openHostFile(path, error), 2);
}

// Where a dictionary or the font data should be, a folder or a pipe (which would block
// the open forever) is refused, and a file too large for memory is not read.
TEST_F(SimTextures, OnlyRegularFilesOfTheirSizeAreOpenedOrLoaded)
{
    const std::string d = dir.path();
    ASSERT_EQ(mkfifo((d + "/pipe").c_str(), 0600), 0);
    std::filesystem::create_directory(d + "/folder");
    std::filesystem::resize_file(dir.write("big", ""), uint64_t{2} << 30); // sparse: costs no disk
    const std::pair<std::string, std::string> refused[] = {
        {d + "/pipe", d + "/pipe is not a regular file"},
        {d + "/folder", d + "/folder is a directory"},
    };
    int32_t slot = sim::addTextureSlot("a");
    for (const auto& [path, message] : refused) {
        std::string error;
        EXPECT_EQ(sim::openHostFile(path, error), 0) << path;
        EXPECT_NE(error.find(message), std::string::npos) << error;
        EXPECT_FALSE(sim::loadTextureSlot(slot, path, error));
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
    std::string error, content;
    EXPECT_FALSE(sim::loadTextureSlot(slot, d + "/big", error));
    EXPECT_NE(error.find("is 2147483648 bytes, more than a texture dictionary can be"), std::string::npos) << error;
    int32_t handle = sim::openHostFile(d + "/big", error);
    ASSERT_NE(handle, 0) << error;
    EXPECT_FALSE(sim::readHostFile(handle, content, error));
    EXPECT_NE(error.find(d + "/big is 2147483648 bytes, more than a file the host reads whole can be (at most 1048576)"),
              std::string::npos)
        << error;
}

// A whole run over such files: each is named on stderr and the run goes on to its end.
TEST_F(SimTextures, ARunOverAPipeAndAHugeFontDataFileSaysSoAndFinishes)
{
    namespace fs = std::filesystem;
    fs::path from = fs::path(KELLHUD_ASSETS_DIR) / "kell-hud", to = fs::path(dir.path()) / "kell-hud";
    writeSettings(dir, "bEnable = 1\nbUseKellFonts = 1\n");
    fs::create_directories(to / "textures");
    for (const fs::directory_entry& e : fs::directory_iterator(from / "textures"))
        if (e.path().filename() != "hud.txd")
            fs::create_symlink(e.path(), to / "textures" / e.path().filename());
    ASSERT_EQ(mkfifo((to / "textures" / "hud.txd").c_str(), 0600), 0);
    std::filesystem::resize_file(dir.write("kell-hud/data/fonts.dat", ""), uint64_t{2} << 30);
    SimRun run = runSimWithoutTrace(dir, {"--frames", "2"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("hud.txd is not a regular file"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("kellhud-sim: font data: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("fonts.dat is 2147483648 bytes"), std::string::npos) << run.err;
}

} // namespace
