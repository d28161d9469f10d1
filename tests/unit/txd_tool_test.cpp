// kellhud-txd as a modder uses it: pack PNG files, list and unpack the dictionary.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "temp_dir.h"
#include "txd/png.h"
#include "txd/txd.h"

namespace {

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

ToolRun runTool(const TempDir& dir, const std::string& args)
{
    std::string command = std::string(KELLHUD_TXD_BINARY) + " " + args + " >" + dir.path() + "/out 2>" + dir.path() + "/err";
    int status = std::system(command.c_str());
    auto slurp = [](const std::string& path) {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(dir.path() + "/out"), slurp(dir.path() + "/err")};
}

void writePng(const std::string& path, int w, int h, uint8_t alpha)
{
    png::Image image{w, h, {}};
    for (int i = 0; i < w * h; ++i)
        image.rgba.insert(image.rgba.end(), {static_cast<uint8_t>(i), 20, 200, alpha});
    std::string error;
    ASSERT_TRUE(png::write(path, image, error)) << error;
}

TEST(TxdTool, PacksPngFilesNamedAfterThemAndListsAndUnpacksThem)
{
    TempDir dir;
    const std::string d = dir.path();
    writePng(d + "/star.png", 3, 2, 255);
    writePng(d + "/radar_level.png", 2, 2, 128);
    ToolRun pack = runTool(dir, "pack " + d + "/out.txd " + d + "/star.png " + d + "/radar_level.png");
    ASSERT_EQ(pack.exitCode, 0) << pack.err;

    txd::Dictionary dictionary;
    std::string error;
    ASSERT_TRUE(txd::readFile(d + "/out.txd", dictionary, error)) << error;
    ASSERT_EQ(dictionary.textures.size(), 2u);
    const txd::Texture& star = dictionary.textures[0];
    EXPECT_EQ(star.name, "star");
    EXPECT_EQ(star.width, 3);
    EXPECT_EQ(star.height, 2);
    EXPECT_FALSE(star.hasAlpha);
    // PNG's R,G,B,A become the host's B,G,R,A.
    EXPECT_EQ(std::vector<uint8_t>(star.levels[0].begin() + 4, star.levels[0].begin() + 8),
              (std::vector<uint8_t>{200, 20, 1, 255}));
    EXPECT_EQ(dictionary.textures[1].name, "radar_level");
    EXPECT_TRUE(dictionary.textures[1].hasAlpha);

    ToolRun list = runTool(dir, "list " + d + "/out.txd");
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("2 textures"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("star"), std::string::npos);
    EXPECT_NE(list.out.find("3x2"), std::string::npos);
    EXPECT_NE(list.out.find("with alpha"), std::string::npos);

    ASSERT_EQ(runTool(dir, "unpack " + d + "/out.txd " + d + "/back").exitCode, 0);
    png::Image back;
    ASSERT_TRUE(png::read(d + "/back/star.png", back, error)) << error;
    png::Image original;
    ASSERT_TRUE(png::read(d + "/star.png", original, error)) << error;
    EXPECT_EQ(back.rgba, original.rgba);
}

TEST(TxdTool, SaysWhatWentWrongAndWhatToDo)
{
    TempDir dir;
    const std::string d = dir.path();
    dir.write("notes.png", "not a picture");
    writePng(d + "/Star.png", 1, 1, 255);
    std::filesystem::create_directories(d + "/other");
    writePng(d + "/other/star.png", 1, 1, 255);

    ToolRun notPng = runTool(dir, "pack " + d + "/out.txd " + d + "/notes.png");
    EXPECT_EQ(notPng.exitCode, 1);
    EXPECT_NE(notPng.err.find("cannot read " + d + "/notes.png as a PNG image"), std::string::npos) << notPng.err;
    EXPECT_NE(notPng.err.find("Save it as PNG"), std::string::npos);

    ToolRun twice = runTool(dir, "pack " + d + "/out.txd " + d + "/Star.png " + d + "/other/star.png");
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_NE(twice.err.find("rename one"), std::string::npos) << twice.err;
    EXPECT_FALSE(std::filesystem::exists(d + "/out.txd"));

    ToolRun broken = runTool(dir, std::string("list ") + KELLHUD_FIXTURES_DIR "/txd/truncated.txd");
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_NE(broken.err.find("only 214 follow (at byte 0)"), std::string::npos) << broken.err;
    EXPECT_NE(broken.err.find("pack it again"), std::string::npos);

    EXPECT_EQ(runTool(dir, "pack " + d + "/out.txd").exitCode, 2);
    EXPECT_NE(runTool(dir, "frobnicate").err.find("usage"), std::string::npos);
}

} // namespace
