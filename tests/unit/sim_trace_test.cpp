// The simulated host's trace: the lines it streams, what it builds when nobody keeps it,
// and the counts the run's summary reads.

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "temp_dir.h"
#include "trace.h"

namespace {

const void* const hostCaller = reinterpret_cast<const void*>(uintptr_t{0x53E298});
const void* const pluginCaller = reinterpret_cast<const void*>(uintptr_t{0x100});

// An argument that notes every time it is turned into JSON.
int probesBuilt = 0;
struct Probe {};
void to_json(nlohmann::json& j, const Probe&)
{
    ++probesBuilt;
    j = "probe";
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class Trace : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override
    {
        std::string ignored;
        sim::trace::endStream(ignored);
        reset();
    }
    static void reset()
    {
        sim::trace::keepInMemory(true);
        sim::trace::clear();
        sim::trace::frame = 0;
        probesBuilt = 0;
    }
};

TEST_F(Trace, StreamedLinesHoldEveryArgumentFormAndTheResultWhereGiven)
{
    TempDir dir;
    std::string path = dir.path() + "/trace.jsonl";
    std::string error;
    sim::trace::keepInMemory(false);
    ASSERT_TRUE(sim::trace::streamTo(path, error)) << error;

    sim::trace::frame = 3;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    sim::trace::record("text_print", pluginCaller,
                       sim::trace::args(sim::trace::number(1816.0f), sim::trace::number(-0.5f),
                                        sim::trace::number(1e9f), sim::trace::text("K\xe9ll \"Hud\"")));
    sim::trace::record("sprite_draw", hostCaller,
                       sim::trace::args(sim::trace::text(nullptr), sim::trace::rect({1.0f, 2.25f, nan, 4e9f}),
                                        sim::trace::colour({255, 0, 7, 128})));
    sim::trace::frame = 4;
    sim::trace::record("txd_load", pluginCaller, sim::trace::args(2, sim::trace::text("models\\hud.txd")), false);
    sim::trace::record("hud_draw", hostCaller, sim::trace::args());
    ASSERT_TRUE(sim::trace::endStream(error)) << error;

    EXPECT_EQ(readAll(path),
              "{\"frame\":3,\"op\":\"text_print\",\"args\":[1816,-0.5,1000000000.0,\"K?ll \\\"Hud\\\"\"],\"by\":\"plugin\"}\n"
              "{\"frame\":3,\"op\":\"sprite_draw\",\"args\":[null,[1,2.25,null,4000000000.0],[255,0,7,128]],"
              "\"by\":\"host\"}\n"
              "{\"frame\":4,\"op\":\"txd_load\",\"args\":[2,\"models\\\\hud.txd\"],\"result\":false,\"by\":\"plugin\"}\n"
              "{\"frame\":4,\"op\":\"hud_draw\",\"args\":[],\"by\":\"host\"}\n");
    EXPECT_TRUE(sim::trace::entries().empty()); // streamed, not kept
}

TEST_F(Trace, AKeptEntryReadsAsItsStreamedLine)
{
    sim::trace::frame = 1;
    sim::trace::record("txd_find_slot", hostCaller, sim::trace::args(sim::trace::text("hud")), -1);
    ASSERT_EQ(sim::trace::entries().size(), 1u);
    EXPECT_EQ(sim::trace::jsonLine(sim::trace::entries()[0]),
              "{\"frame\":1,\"op\":\"txd_find_slot\",\"args\":[\"hud\"],\"result\":-1,\"by\":\"host\"}");
}

TEST_F(Trace, WithNobodyKeepingTheTraceNoArgumentIsBuiltButEveryCallIsCounted)
{
    sim::trace::keepInMemory(false);
    sim::trace::frame = 1;
    for (int i = 0; i < 3; ++i) {
        sim::trace::record("draw_tail", pluginCaller, sim::trace::args(Probe{}));
        sim::trace::record("txd_load", pluginCaller, sim::trace::args(Probe{}), Probe{});
    }
    EXPECT_EQ(probesBuilt, 0);
    EXPECT_TRUE(sim::trace::entries().empty());
    EXPECT_EQ(sim::trace::pluginCalls(), (std::map<std::string, int>{{"draw_tail", 3}, {"txd_load", 3}}));

    sim::trace::keepInMemory(true);
    sim::trace::record("txd_load", pluginCaller, sim::trace::args(Probe{}), Probe{});
    EXPECT_EQ(probesBuilt, 2);
    ASSERT_EQ(sim::trace::entries().size(), 1u);
    EXPECT_EQ(sim::trace::entries()[0].result, "probe");
}

TEST_F(Trace, TheSummaryCountsThePluginsCallsFromFrameOneAndItsSpritesByName)
{
    sim::trace::keepInMemory(false);
    sim::trace::record("txd_load", pluginCaller, sim::trace::args()); // frame 0: the start-up
    sim::trace::frame = 1;
    sim::trace::record("text_print", hostCaller, sim::trace::args()); // the host's own
    // The same name through two different pointers, as two source files pass it.
    std::string copy = "text_print";
    sim::trace::record("text_print", pluginCaller, sim::trace::args());
    sim::trace::record(copy.c_str(), pluginCaller, sim::trace::args());
    sim::trace::countSprite(pluginCaller, "star");
    sim::trace::countSprite(pluginCaller, std::string("star").c_str());
    sim::trace::countSprite(pluginCaller, nullptr);
    sim::trace::countSprite(hostCaller, "radar_centre");

    EXPECT_EQ(sim::trace::pluginCalls(), (std::map<std::string, int>{{"text_print", 2}}));
    EXPECT_EQ(sim::trace::pluginSprites(), (std::map<std::string, int>{{"(no texture)", 1}, {"star", 2}}));

    sim::trace::clear();
    EXPECT_TRUE(sim::trace::pluginCalls().empty());
    EXPECT_TRUE(sim::trace::pluginSprites().empty());
}

TEST_F(Trace, AFileThatCannotBeMadeOrWrittenIsReported)
{
    std::string error;
    EXPECT_FALSE(sim::trace::streamTo("/nonexistent-folder/trace.jsonl", error));
    EXPECT_FALSE(error.empty());

    // A full device takes the buffered lines and refuses them when they are flushed.
    error.clear();
    ASSERT_TRUE(sim::trace::streamTo("/dev/full", error)) << error;
    sim::trace::record("hud_draw", hostCaller, sim::trace::args());
    EXPECT_FALSE(sim::trace::endStream(error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(sim::trace::endStream(error)); // nothing open any more
}

} // namespace
