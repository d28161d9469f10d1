// kellhud-txd as a modder uses it: pack PNG files, list and unpack the dictionary.

#include <gtest/gtest.h>
#include <sys/stat.h>
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

// A tool that hangs fails the test (timeout's status 124) instead of stopping the suite.
ToolRun runTool(const TempDir& dir, const std::string& args, const std::string& binary = KELLHUD_TXD_BINARY)
{
    std::string command = "timeout -k 5 60 " + binary + " " + args + " >" + dir.path() + "/out 2>" + dir.path() + "/err";
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

    // Unpacking again over pictures the modder has not touched is harmless; over an edited
    // one it writes nothing and says which, unless forced.
    EXPECT_EQ(runTool(dir, "unpack " + d + "/out.txd " + d + "/back").exitCode, 0);
    png::Image edited = back;
    edited.rgba[0] ^= 0xFF;
    ASSERT_TRUE(png::write(d + "/back/star.png", edited, error)) << error;
    std::filesystem::remove(d + "/back/radar_level.png");
    ToolRun again = runTool(dir, "unpack " + d + "/out.txd " + d + "/back");
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("1 picture in " + d + "/back already there with other pixels than " + d +
                             "/out.txd holds (edited?):\n  " + d + "/back/star.png\nNothing was written. Unpack into "
                             "a new folder, or add --force to overwrite them."),
              std::string::npos)
        << again.err;
    EXPECT_FALSE(std::filesystem::exists(d + "/back/radar_level.png")) << "nothing written, not even a new picture";
    png::Image kept;
    ASSERT_TRUE(png::read(d + "/back/star.png", kept, error)) << error;
    EXPECT_EQ(kept.rgba, edited.rgba);
    EXPECT_EQ(runTool(dir, "unpack --force " + d + "/out.txd " + d + "/back").exitCode, 0);
    ASSERT_TRUE(png::read(d + "/back/star.png", kept, error)) << error;
    EXPECT_EQ(kept.rgba, original.rgba);
}

TEST(TxdTool, PackGivesEachTextureItsMipChainBoxFilteredAndWeightedByAlpha)
{
    TempDir dir;
    const std::string d = dir.path();
    writePng(d + "/wide.png", 5, 3, 255);
    writePng(d + "/tall.png", 1, 4, 255);
    writePng(d + "/dot.png", 1, 1, 255);
    // Red, green, clear black, grey: the clear pixel must not darken the average.
    png::Image mixed{2, 2, {200, 0, 0, 255, 0, 200, 0, 255, 0, 0, 0, 0, 100, 100, 100, 255}};
    std::string error;
    ASSERT_TRUE(png::write(d + "/mixed.png", mixed, error)) << error;
    ToolRun pack = runTool(dir, "pack " + d + "/out.txd " + d + "/wide.png " + d + "/tall.png " + d + "/dot.png " + d +
                                    "/mixed.png");
    ASSERT_EQ(pack.exitCode, 0) << pack.err;
    txd::Dictionary dictionary;
    ASSERT_TRUE(txd::readFile(d + "/out.txd", dictionary, error)) << error;
    ASSERT_EQ(dictionary.textures.size(), 4u);

    // Pixel i of writePng's pictures is R = i, G = 20, B = 200; the reader has checked
    // each level's size against the texture's.
    const struct {
        std::size_t levels;
        unsigned level;
        std::size_t pixel;
        std::vector<uint8_t> bgra;
    } chains[] = {
        {3, 1, 0, {200, 20, 6, 255}},    // 5x3, 2x1, 1x1: the left half of level 1 averages 0 1 5 6 10 11
        {3, 1, 1, {200, 20, 8, 255}},    // and the odd column goes to the right half: 2-4, 7-9, 12-14
        {3, 2, 0, {200, 20, 2, 255}},    // 1x4, 1x2, 1x1: (0.5 + 2.5) / 2, each rounded
        {1, 0, 0, {200, 20, 0, 255}},    // 1x1 needs no level more
        {2, 1, 0, {33, 100, 100, 191}},  // colours weighted by alpha, alpha the plain average
    };
    const std::size_t texture[] = {0, 0, 1, 2, 3};
    for (std::size_t i = 0; i < std::size(chains); ++i) {
        const txd::Texture& t = dictionary.textures[texture[i]];
        ASSERT_EQ(t.levels.size(), chains[i].levels) << t.name;
        const auto& level = t.levels[chains[i].level];
        EXPECT_EQ(std::vector<uint8_t>(level.begin() + 4 * chains[i].pixel, level.begin() + 4 * chains[i].pixel + 4),
                  chains[i].bgra)
            << t.name << " level " << chains[i].level;
    }
}

// Packing for one of the plug-in's dictionaries checks the set against what the plug-in
// draws from it; each row is one set of files in its own folder.
TEST(TxdTool, PackForADictionaryRefusesAMissingNameAndWarnsAboutWhatTheGameWouldMisuse)
{
    const std::vector<std::string> hud = {"star", "hud_crosshair", "hud_target", "hud_cellphone",
                                          "hud_sniper", "hud_rocket", "hud_crosshair_fps"};
    struct Case {
        const char* command; // with DIR for the folder of the PNG files
        const char* leftOut; // a texture of hud.txd not given
        const char* extra;   // another file: NAME WxH
        int exitCode;
        const char* says;
    } cases[] = {
        {"pack --for hud DIR/out.txd DIR/*.png", "star", "", 1, "error: texture \"star\" is missing: the plug-in draws it from hud.txd"},
        {"pack DIR/hud.txd DIR/*.png", "star", "", 1, "hud.txd not written"}, // named after the file
        {"pack --for hud DIR/out.txd DIR/*.png", "", "star - Copy 16x16", 0, "texture \"star - Copy\" is never drawn: no name of hud.txd is looked up by that name, so it only takes memory (did you mean star?)"},
        {"pack --for hud DIR/out.txd DIR/*.png", "", "hud_sinper 16x16", 0, "(did you mean hud_sniper?)"},
        {"pack --for hud DIR/out.txd DIR/*.png", "", "halo 100x37", 0, "texture \"halo\" is 100x37: a side that is not a power of two (2, 4, ... 1024) is filtered unevenly between mip levels and some cards pad it in memory; make it 128x64"},
        {"pack --for hud DIR/out.txd DIR/*.png", "", "halo 2048x512", 0, "texture \"halo\" is 2048x512: over 1024 pixels on a side it takes 5 MB of video memory with its mip levels, and no element is drawn that large; make it at most 1024x512"},
        {"pack --for weapon DIR/out.txd DIR/*.png", "", "", 2, "--for \"weapon\" is no dictionary of the plug-in; give one of hud, radar, blips, weapons, radio_hud, progress_bars, fonts"},
        {"pack DIR/out.txd DIR/*.png", "star", "", 0, ""}, // no dictionary of ours: packed as given
        {"list --for hud DIR/partial.txd", "", "", 1, "missing for hud.txd (1): star\n"},
        {"list --for hud DIR/full.txd", "", "", 0, "every texture the plug-in draws from hud.txd is there\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string d = dir.path();
        std::filesystem::create_directory(d + "/png");
        for (const std::string& name : hud)
            if (name != c.leftOut)
                writePng(d + "/png/" + name + ".png", 8, 8, 200);
        std::string extra = c.extra;
        if (!extra.empty()) {
            const size_t space = extra.rfind(' '), x = extra.find('x', space);
            writePng(d + "/png/" + extra.substr(0, space) + ".png", std::stoi(extra.substr(space + 1)), std::stoi(extra.substr(x + 1)), 200);
        }
        ASSERT_EQ(runTool(dir, "pack " + d + "/full.txd " + d + "/png/*.png").exitCode, 0);
        std::filesystem::remove(d + "/png/star.png");
        ASSERT_EQ(runTool(dir, "pack " + d + "/partial.txd " + d + "/png/*.png").exitCode, 0);
        if (!*c.leftOut)
            writePng(d + "/png/star.png", 8, 8, 200);
        std::string command = c.command;
        for (size_t at; (at = command.find("DIR/*")) != std::string::npos;)
            command.replace(at, 3, d + "/png");
        for (size_t at; (at = command.find("DIR")) != std::string::npos;)
            command.replace(at, 3, d);
        const ToolRun run = runTool(dir, command);
        EXPECT_EQ(run.exitCode, c.exitCode) << command << "\n" << run.err;
        EXPECT_NE((run.out + run.err).find(c.says), std::string::npos) << command << "\n" << run.out << run.err;
        if (c.exitCode) {
            EXPECT_FALSE(std::filesystem::exists(d + "/out.txd") || std::filesystem::exists(d + "/hud.txd")) << command;
        }
    }
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

namespace {

// What a dictionary from elsewhere may hold, and files that are no dictionary at all: the
// tools say what is wrong in one line and fail, never hang, abort or write outside the
// folder they are given.
TEST(TxdTool, RefusesWhatItCannotReadAndUnpacksUnsafeNamesInsideTheFolder)
{
    TempDir dir;
    const std::string d = dir.path();
    ASSERT_EQ(mkfifo((d + "/pipe.txd").c_str(), 0600), 0);
    std::filesystem::resize_file(dir.write("big.txd", ""), uint64_t{2} << 30); // sparse: costs no disk
    txd::Dictionary wrapped;
    wrapped.textures.push_back({"huge", "", txd::defaultFiltering, 32768, 32768, false, std::vector<std::vector<uint8_t>>(1)});
    std::string error;
    txd::Dictionary unsafe;
    const std::string absolute = d + "/abs"; // 28 bytes: a name holds 31
    for (const std::string& name : {std::string("../escaped"), absolute, std::string("CON"), std::string("x\x1B[2J"),
                                    std::string("star")})
        unsafe.textures.push_back({name, "", txd::defaultFiltering, 1, 1, true, {{1, 2, 3, 4}}});
    for (const auto& [file, dictionary] : {std::pair{"wrapped.txd", &wrapped}, std::pair{"unsafe.txd", &unsafe}}) {
        std::vector<uint8_t> bytes = txd::write(*dictionary); // unchecked, as another writer might
        dir.write(file, std::string(bytes.begin(), bytes.end()));
    }

    const std::pair<std::string, std::string> refused[] = {
        {"list " + d + "/big.txd", d + "/big.txd is 2147483648 bytes, more than a texture dictionary can be"},
        {"list " + d + "/pipe.txd", d + "/pipe.txd is not a regular file"},
        {"unpack " + d + "/pipe.txd " + d + "/pictures", "is not a regular file"},
        {"list " + d, d + " is a directory"},
        {"unpack " + d + "/wrapped.txd " + d + "/pictures", "level 0 holds 0 bytes; 32768x32768 pixels take 4294967296"},
    };
    for (const auto& [args, message] : refused) {
        ToolRun run = runTool(dir, args);
        EXPECT_EQ(run.exitCode, 1) << args;
        EXPECT_NE(run.err.find(message), std::string::npos) << args << ": " << run.err;
    }

    ToolRun list = runTool(dir, "list " + d + "/unsafe.txd");
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("x\\x1B[2J "), std::string::npos) << list.out;
    EXPECT_EQ(list.out.find('\x1B'), std::string::npos);

    ToolRun unpack = runTool(dir, "unpack " + d + "/unsafe.txd " + d + "/pictures");
    EXPECT_EQ(unpack.exitCode, 0) << unpack.err;
    std::string absoluteFile = absolute;
    for (size_t at; (at = absoluteFile.find('/')) != std::string::npos;)
        absoluteFile.replace(at, 1, "%2F");
    for (const std::string& file : {std::string("..%2Fescaped"), absoluteFile, std::string("%43ON"),
                                    std::string("x%1B[2J"), std::string("star")})
        EXPECT_TRUE(std::filesystem::is_regular_file(d + "/pictures/" + file + ".png")) << file;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(d + "/pictures"), std::filesystem::directory_iterator()), 5);
    EXPECT_FALSE(std::filesystem::exists(d + "/escaped.png"));
    EXPECT_FALSE(std::filesystem::exists(absolute + ".png"));
    EXPECT_NE(unpack.err.find("warning: texture \"x\\x1B[2J\" cannot be a file name as it stands (it holds a control "
                              "byte); written as " + d + "/pictures/x%1B[2J.png"),
              std::string::npos)
        << unpack.err;
    EXPECT_EQ(unpack.err.find('\x1B'), std::string::npos);

    // The writer refuses such names: pack says which file to rename.
    writePng(d + "/con.png", 1, 1, 255);
    ToolRun pack = runTool(dir, "pack " + d + "/con.txd " + d + "/con.png");
    EXPECT_EQ(pack.exitCode, 1);
    EXPECT_NE(pack.err.find(d + "/con.png: \"con\" cannot be a texture name (it is the name of a Windows device); "
                            "rename the file"),
              std::string::npos)
        << pack.err;
}

// kellhud-art stops with one line, whatever is thrown: here its output folder is a file.
TEST(TxdTool, TheArtToolReportsAFailureInsteadOfAborting)
{
    TempDir dir;
    const std::string d = dir.path();
    dir.write("icons.json", R"({"icons": {}})");
    dir.write("svg", "a file where a folder should be");
    std::string art = (std::filesystem::path(KELLHUD_TXD_BINARY).parent_path() / "kellhud-art").string();
    ToolRun run = runTool(dir, "compose " + d + "/icons.json " KELLHUD_ASSETS_DIR "/art " + d + "/svg", art);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.rfind("kellhud-art: stopped: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(d + "/svg"), std::string::npos) << run.err;
}

} // namespace
