#include "hooks/host_events.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "host/host.h"
#include "host_build.h"
#include "host_sites.h"
#include "injector/hooking.h"
#include "sim/system.h"
#include "test_sites.h"
#include "trace.h"

namespace {

using namespace test_sites;

// Each callback notes how many host calls the trace held when it ran: 0 before the host
// function, 1 after it.
using Runs = std::vector<std::pair<char, size_t>>;
Runs callbacksRun;
void callbackA() { callbacksRun.push_back({'a', sim::trace::entries().size()}); }
void callbackB() { callbacksRun.push_back({'b', sim::trace::entries().size()}); }

std::vector<std::string> order;

constexpr uint32_t eventSites[] = {host::site_frame_process, host::site_draw, host::site_draw_tail,
                                   host::site_radar_draw_a, host::site_radar_draw_b,
                                   host::site_renderer_start, host::site_renderer_shutdown};

// The event sites holding changed bytes; 0 for a change outside every site's five bytes.
std::set<uint32_t> sitesChanged()
{
    std::set<uint32_t> found;
    for (const sim::PatchRun& run : sim::listPatches()) {
        uint32_t in = 0;
        for (uint32_t site : eventSites)
            if (run.address >= site && run.address + run.after.size() <= site + 5)
                in = site;
        found.insert(in);
    }
    return found;
}

class HostEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::buildHostImage();
        test_sites::lay();
        sim::trace::clear();
    }
};

// An event whose site holds something else intercepts nothing and says what it found: the
// draw tail must hold a jump, each radar overlay site a call (the second checked before
// the first is written).
TEST_F(HostEvents, AnEventWhoseSiteHoldsSomethingElseInterceptsNone)
{
    const std::pair<uint32_t, std::vector<uint8_t>> laid[] = {
        {host::site_draw_tail, bytesAt(host::site_draw, 5)}, {host::site_radar_draw_b, {0x90, 0x90, 0x90, 0x90, 0x90}}};
    for (const auto& [site, bytes] : laid)
        sim::hostWrite(site, bytes.data(), 5);
    DrawTailEvent().subscribe(&callbackA);
    RadarDrawEvent().subscribe(&callbackA);
    EXPECT_STREQ(DrawTailEvent().refused.row, "site_draw_tail");
    EXPECT_STREQ(RadarDrawEvent().refused.row, "site_radar_draw_b");
    EXPECT_EQ(std::vector<uint8_t>(RadarDrawEvent().refused.found, RadarDrawEvent().refused.found + 5), laid[1].second);
    EXPECT_TRUE(sim::listPatches().empty());
    DrawEvent().subscribe(&callbackA);
    EXPECT_FALSE(DrawEvent().refused);
}

TEST_F(HostEvents, CdeclSitesRunBeforeListHostFunctionAfterListAndReturnItsValue)
{
    struct Case {
        HostEvent& (*event)();
        uintptr_t (*reach)();
        const char* op;
        uint32_t function;
    };
    const Case cases[] = {
        {&FrameProcessEvent, &sim::reachFrameProcess, "frame_process", host::frame_process.address},
        {&DrawEvent, &sim::reachDraw, "draw_overlay", host::draw_overlay.address},
        {&RendererStartedEvent, &sim::reachRendererStart, "renderer_start", host::renderer_start.address},
        {&RendererShutdownEvent, &sim::reachRendererShutdown, "renderer_shutdown", host::renderer_shutdown.address},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.op);
        if (c.event == &RendererShutdownEvent)
            c.event().subscribeBefore(&callbackA).subscribeBefore(&callbackB);
        else
            c.event().subscribe(&callbackA).subscribe(&callbackB).subscribe(&callbackA);
        sim::trace::clear();
        callbacksRun.clear();
        EXPECT_EQ(c.reach(), c.function);
        ASSERT_EQ(sim::trace::entries().size(), 1u);
        EXPECT_EQ(sim::trace::entries()[0].op, c.op);
        EXPECT_TRUE(sim::trace::entries()[0].byPlugin); // through the dispatcher
        if (c.event == &RendererShutdownEvent)
            EXPECT_EQ(callbacksRun, (Runs{{'a', 0}, {'b', 0}}));
        else
            EXPECT_EQ(callbacksRun, (Runs{{'a', 1}, {'b', 1}, {'a', 1}}));
    }
}

TEST_F(HostEvents, RadarDrawIsOneEventOnTwoSitesPatchedByTheFirstSubscriptionOnly)
{
    RadarDrawEvent().subscribe(&callbackA);
    EXPECT_EQ(sitesChanged(), (std::set<uint32_t>{host::site_radar_draw_a, host::site_radar_draw_b}));
    const std::vector<uint8_t> patched = bytesAt(host::site_radar_draw_a, 5);
    RadarDrawEvent().subscribe(&callbackB);
    EXPECT_EQ(bytesAt(host::site_radar_draw_a, 5), patched);

    EXPECT_EQ(sim::reachRadarDrawA(true), host::radar_draw_overlay.address + 1);
    EXPECT_EQ(sim::reachRadarDrawB(false), host::radar_draw_overlay.address);
    const auto& calls = sim::trace::entries();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].args, nlohmann::json::array({true}));
    EXPECT_EQ(calls[1].args, nlohmann::json::array({false}));
    EXPECT_EQ(callbacksRun, (Runs{{'a', 1}, {'b', 1}, {'a', 2}, {'b', 2}}));
}

// A start-up that cannot finish puts the sites back: every event is then as before its
// first subscription, and a later subscription takes its sites anew, each under one scope.
TEST_F(HostEvents, PuttingTheSitesBackLeavesEachEventAsBeforeItsFirstSubscription)
{
    const std::vector<uint8_t> before = bytesAt(host::site_radar_draw_a, 5);
    DrawTailEvent().subscribe(&callbackA);
    RadarDrawEvent().subscribe(&callbackA);
    ASSERT_EQ(sitesChanged().size(), 3u);
    EXPECT_TRUE(putEventSitesBack());
    EXPECT_TRUE(sim::listPatches().empty());

    sim::system().protectionChanges.clear();
    RadarDrawEvent().subscribe(&callbackB);
    EXPECT_EQ(sim::system().protectionChanges.size(), 4u) << "each site written once, under one scope";
    EXPECT_EQ(sitesChanged(), (std::set<uint32_t>{host::site_radar_draw_a, host::site_radar_draw_b}));
    EXPECT_EQ(sim::reachRadarDrawA(true), host::radar_draw_overlay.address + 1);
    EXPECT_EQ(callbacksRun, (Runs{{'b', 1}}));
    EXPECT_TRUE(putEventSitesBack());
    EXPECT_EQ(bytesAt(host::site_radar_draw_a, 5), before);
}

TEST_F(HostEvents, DrawTailSiteJumpsToTheDispatcherWhichReturnsToTheHostsCaller)
{
    DrawTailEvent().subscribe(&callbackA);
    EXPECT_EQ(bytesAt(host::site_draw_tail, 1), std::vector<uint8_t>{0xE9});
    EXPECT_EQ(sim::reachDrawTail(), host::draw_tail.address);
    ASSERT_EQ(sim::trace::entries().size(), 1u);
    EXPECT_EQ(sim::trace::entries()[0].args, nlohmann::json::array({sim::drawTailObject}));
    EXPECT_TRUE(sim::trace::entries()[0].byPlugin);
    EXPECT_EQ(callbacksRun, (Runs{{'a', 1}}));
}

// Registered before any event exists, so it runs after they are all destroyed, as at unload.
void exitWithPatchesLeft()
{
    std::vector<sim::PatchRun> left = sim::listPatches();
    for (const sim::PatchRun& run : left)
        std::fprintf(stderr, "still patched: 0x%X\n", run.address);
    _exit(left.empty() ? 0 : 1);
}

TEST(HostEventsDeathTest, UnloadGivesEverySiteItsFormerBytesBack)
{
    EXPECT_EXIT(
        {
            sim::buildHostImage();
            std::atexit(&exitWithPatchesLeft);
            DrawTailEvent().subscribe(&callbackA);
            DrawEvent().subscribe(&callbackA);
            FrameProcessEvent().subscribe(&callbackA);
            RadarDrawEvent().subscribe(&callbackA);
            RendererStartedEvent().subscribe(&callbackA);
            RendererShutdownEvent().subscribeBefore(&callbackA);
            FrameProcessEvent().subscribe(&callbackB);
            if (sitesChanged() != std::set<uint32_t>(std::begin(eventSites), std::end(eventSites)))
                _exit(2);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
