#include "hooks/host_events.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/host.h"
#include "host_image.h"
#include "host_sites.h"
#include "injector/hooking.h"
#include "test_sites.h"
#include "trace.h"

namespace {

using namespace test_sites;

// Each callback notes how many host-function calls the trace held when it ran, which
// places it before or after the host function.
std::vector<std::pair<char, size_t>> callbacksRun;
void callbackA() { callbacksRun.push_back({'a', sim::trace::entries().size()}); }
void callbackB() { callbacksRun.push_back({'b', sim::trace::entries().size()}); }

using Sequence = std::vector<std::pair<char, size_t>>;

std::vector<std::string> order;

std::vector<uint8_t> bytesAt(uint32_t address, uint32_t count)
{
    const uint8_t* p = reinterpret_cast<const uint8_t*>(uintptr_t{address});
    return {p, p + count};
}

constexpr uint32_t eventSites[] = {host::site_frame_process, host::site_draw,          host::site_draw_tail,
                                   host::site_radar_draw_a,  host::site_radar_draw_b,  host::site_renderer_start,
                                   host::site_renderer_shutdown};

// The event sites that hold changed bytes; 0 stands for a change outside every site's five bytes.
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

std::vector<std::pair<uint32_t, std::vector<uint8_t>>> patchesNow()
{
    std::vector<std::pair<uint32_t, std::vector<uint8_t>>> now;
    for (const sim::PatchRun& run : sim::listPatches())
        now.push_back({run.address, run.after});
    return now;
}

class HostEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::buildHostImage();
        test_sites::lay();
        sim::trace::clear();
        callbacksRun.clear();
        order.clear();
    }
};

using CdeclHooker = injector::function_hooker<cdeclSite, uint32_t(uint32_t, uint32_t)>;

TEST_F(HostEvents, InterceptorsNestMostRecentOutermostAroundTheHostFunction)
{
    injector::install_hooker<CdeclHooker>([](auto next, uint32_t a, uint32_t b) {
        order.push_back("first in");
        uint32_t result = next(a, b);
        order.push_back("first out");
        return result + 1;
    });
    injector::install_hooker<CdeclHooker>([](auto next, uint32_t a, uint32_t b) {
        order.push_back("second in");
        uint32_t result = next(a, b + 1);
        order.push_back("second out");
        return result * 2;
    });
    auto manager = CdeclHooker::manager_type::instance();
    EXPECT_EQ(manager->size(), 2u);
    EXPECT_EQ(manager->former_destination(), cdeclHost);

    EXPECT_EQ(runCdeclRoutine(3, 4), (305u + 1) * 2 + 3);
    EXPECT_EQ(order, (std::vector<std::string>{"second in", "first in", "first out", "second out"}));
    ASSERT_EQ(hostCalls.size(), 1u);
    EXPECT_EQ(hostCalls[0].first, 3u);
    EXPECT_EQ(hostCalls[0].second, 5u);

    injector::hooker_store<CdeclHooker>().clear(); // as at unload
    EXPECT_TRUE(sim::listPatches().empty());
    EXPECT_EQ(runCdeclRoutine(3, 4), 304u + 3);
}

TEST_F(HostEvents, ThiscallInterceptorPassesTheObjectAndTheCalleeRemovesItsArguments)
{
    using Hooker = injector::function_hooker_thiscall<thiscallSite, uint32_t(void*, uint32_t)>;
    injector::install_hooker<Hooker>([](auto next, void* self, uint32_t x) { return next(self, x) + 1; });

    EXPECT_EQ(runThiscallRoutine(0xCFF000, 9), 7009u + 1 + 9);
    ASSERT_EQ(hostCalls.size(), 1u);
    EXPECT_EQ(hostCalls[0].first, 0xCFF000u);
    EXPECT_EQ(hostCalls[0].second, 9u);
}

TEST_F(HostEvents, EachHookerHoldsOneEntryAndTheLastToLeaveRestoresTheSite)
{
    const std::vector<uint8_t> former = bytesAt(cdeclSite, 5);
    CdeclHooker::interceptor_type plusOne = [](auto next, uint32_t a, uint32_t b) { return next(a, b) + 1; };
    CdeclHooker::interceptor_type plusTen = [](auto next, uint32_t a, uint32_t b) { return next(a, b) + 10; };
    auto manager = CdeclHooker::manager_type::instance();
    {
        CdeclHooker hooker;
        hooker.hook(plusOne);
        hooker.hook(plusTen); // replaces its own entry
        EXPECT_EQ(manager->size(), 1u);
        EXPECT_EQ(runCdeclRoutine(1, 2), 102u + 10 + 1);
        {
            CdeclHooker copy(hooker);
            EXPECT_TRUE(copy.is_hooked());
            EXPECT_EQ(runCdeclRoutine(1, 2), 102u + 20 + 1);
        }
        EXPECT_EQ(manager->size(), 1u);
        EXPECT_NE(bytesAt(cdeclSite, 5), former);

        hooker.restore();
        EXPECT_FALSE(hooker.is_hooked());
        EXPECT_FALSE(manager->is_hooked());
        EXPECT_EQ(bytesAt(cdeclSite, 5), former);

        hooker.hook(plusOne); // hooks the site afresh
        EXPECT_EQ(runCdeclRoutine(1, 2), 102u + 1 + 1);
    }
    EXPECT_EQ(bytesAt(cdeclSite, 5), former);
    EXPECT_EQ(manager->size(), 0u);
}

struct NoArgumentEvent {
    HostEvent& (*event)();
    uintptr_t (*reach)();
    const char* op;
    uint32_t function;
};

TEST_F(HostEvents, NoArgumentSitesCallTheHostFunctionOnceThenTheAfterList)
{
    const NoArgumentEvent events[] = {
        {&FrameProcessEvent, &sim::reachFrameProcess, "frame_process", host::frame_process.address},
        {&DrawEvent, &sim::reachDraw, "draw_overlay", host::draw_overlay.address},
        {&RendererStartedEvent, &sim::reachRendererStart, "renderer_start", host::renderer_start.address},
    };
    for (const NoArgumentEvent& e : events) {
        SCOPED_TRACE(e.op);
        e.event().subscribe(&callbackA).subscribe(&callbackB).subscribe(&callbackA);
        sim::trace::clear();
        callbacksRun.clear();
        EXPECT_EQ(e.reach(), e.function);
        ASSERT_EQ(sim::trace::entries().size(), 1u);
        EXPECT_EQ(sim::trace::entries()[0].op, e.op);
        EXPECT_TRUE(sim::trace::entries()[0].byPlugin); // through the dispatcher
        EXPECT_EQ(callbacksRun, (Sequence{{'a', 1}, {'b', 1}, {'a', 1}}));
    }
}

TEST_F(HostEvents, RendererShutdownRunsItsBeforeListAheadOfTheHostFunction)
{
    RendererShutdownEvent().subscribeBefore(&callbackA).subscribeBefore(&callbackB);
    EXPECT_EQ(sim::reachRendererShutdown(), host::renderer_shutdown.address);
    ASSERT_EQ(sim::trace::entries().size(), 1u);
    EXPECT_EQ(sim::trace::entries()[0].op, "renderer_shutdown");
    EXPECT_EQ(callbacksRun, (Sequence{{'a', 0}, {'b', 0}}));
}

TEST_F(HostEvents, RadarDrawIsOneEventOnTwoSitesPatchedByTheFirstSubscriptionOnly)
{
    RadarDrawEvent().subscribe(&callbackA);
    EXPECT_EQ(sitesChanged(), (std::set<uint32_t>{host::site_radar_draw_a, host::site_radar_draw_b}));
    const auto patched = patchesNow();
    RadarDrawEvent().subscribe(&callbackB);
    EXPECT_EQ(patchesNow(), patched);

    EXPECT_EQ(sim::reachRadarDrawA(true), host::radar_draw_overlay.address + 1);
    EXPECT_EQ(sim::reachRadarDrawB(false), host::radar_draw_overlay.address);
    const auto& calls = sim::trace::entries();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].args, nlohmann::json::array({true}));
    EXPECT_EQ(calls[1].args, nlohmann::json::array({false}));
    EXPECT_TRUE(calls[0].byPlugin && calls[1].byPlugin);
    EXPECT_EQ(callbacksRun, (Sequence{{'a', 1}, {'b', 1}, {'a', 2}, {'b', 2}}));
}

TEST_F(HostEvents, DrawTailSiteJumpsToTheDispatcherWhichReturnsToTheHostsCaller)
{
    DrawTailEvent().subscribe(&callbackA);
    EXPECT_EQ(bytesAt(host::site_draw_tail, 1)[0], 0xE9);
    EXPECT_NE(injector::branch_destination(host::site_draw_tail), host::draw_tail.address);

    EXPECT_EQ(sim::reachDrawTail(), host::draw_tail.address);
    ASSERT_EQ(sim::trace::entries().size(), 1u);
    EXPECT_EQ(sim::trace::entries()[0].op, "draw_tail");
    EXPECT_EQ(sim::trace::entries()[0].args, nlohmann::json::array({sim::drawTailObject}));
    EXPECT_TRUE(sim::trace::entries()[0].byPlugin);
    EXPECT_EQ(callbacksRun, (Sequence{{'a', 1}}));
}

// Runs after every static object made after its registration is gone, as after unload.
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
