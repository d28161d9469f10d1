// kellhud-sim --png: the last frame as a picture, compared with the committed one.
//
// After a deliberate change of the picture (layout, colours, art, the preview itself),
// write a new golden picture with
//     KELLHUD_UPDATE_GOLDEN=1 build/sim/tests/e2e_tests --gtest_filter='Preview.*'
// and look at tests/golden/preview_480x270.png before committing it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "sim_run.h"
#include "txd/png.h"

namespace {

namespace fs = std::filesystem;

const std::string goldenFile = std::string(KELLHUD_FIXTURES_DIR) + "/../golden/preview_480x270.png";
const std::string scenarioFile = std::string(KELLHUD_FIXTURES_DIR) + "/preview.json";

using Picture = png::Image;

Picture readPicture(const std::string& path)
{
    Picture p;
    std::string error;
    png::read(path, p, error);
    return p;
}

// Pixels with a channel more than `tolerance` away: fonts and libraries of another version
// may move an edge, but not a whole element.
int differingPixels(const Picture& a, const Picture& b, int tolerance)
{
    int count = 0;
    for (size_t i = 0; i + 3 < a.rgba.size(); i += 4)
        for (size_t c = 0; c < 4; ++c)
            if (std::abs(a.rgba[i + c] - b.rgba[i + c]) > tolerance) {
                ++count;
                break;
            }
    return count;
}

TEST(Preview, LastFrameMatchesTheGoldenPicture)
{
    TempDir dir;
    const std::string out = dir.path() + "/preview.png";
    SimRun r = runSimWithoutTrace(dir, {"--plugin-dir", KELLHUD_ASSETS_DIR, "--scenario", scenarioFile, "--png", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Picture actual = readPicture(out);
    ASSERT_EQ(actual.width, 480);
    ASSERT_EQ(actual.height, 270);

    if (std::getenv("KELLHUD_UPDATE_GOLDEN")) {
        fs::copy_file(out, goldenFile, fs::copy_options::overwrite_existing);
        GTEST_SKIP() << "wrote " << goldenFile;
    }
    Picture golden = readPicture(goldenFile);
    ASSERT_EQ(golden.width, actual.width) << "no golden picture at " << goldenFile;
    ASSERT_EQ(golden.height, actual.height);
    int differing = differingPixels(actual, golden, 24);
    if (differing > actual.width * actual.height / 500) {
        const std::string kept = fs::path(KELLHUD_SIM_BINARY).parent_path() / "preview_480x270.actual.png";
        fs::copy_file(out, kept, fs::copy_options::overwrite_existing);
        ADD_FAILURE() << differing << " pixels differ from " << goldenFile << "; this run's picture is " << kept;
    }
}

TEST(Preview, UnwritablePictureStopsTheRunBeforeItStarts)
{
    TempDir dir;
    SimRun r = runSimWithoutTrace(dir, {"--plugin-dir", KELLHUD_ASSETS_DIR, "--png", dir.path() + "/none/out.png"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("cannot write " + dir.path() + "/none/out.png"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("Kell Hud in the simulated host"), std::string::npos) << r.out; // no run
}

} // namespace
