#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <utility>

#include "host_build.h"
#include "injector/hooking.h"
#include "sim/system.h"
#include "test_sites.h"

namespace {

using namespace test_sites;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t freeCode = 0x402000;
constexpr uint32_t hostData = 0x900000;
constexpr uint32_t executeRead = PAGE_EXECUTE_READ;

void lay(uint32_t address, Bytes bytes) { sim::hostWrite(address, bytes.data(), static_cast<uint32_t>(bytes.size())); }

void layBranch(uint32_t address, uint8_t opcode, uint32_t operand)
{
    Bytes bytes{opcode, 0, 0, 0, 0};
    std::memcpy(&bytes[1], &operand, 4);
    lay(address, bytes);
}

std::vector<uint32_t> targetArgs;
KH_CDECL uint32_t cdeclTarget(uint32_t a, uint32_t b)
{
    targetArgs = {a, b};
    return a * 1000 + b;
}
KH_THISCALL uint32_t thiscallTarget(void* self, uint32_t x)
{
    targetArgs = {addressOf(self), x};
    return 500;
}

template <class Patch>
std::vector<sim::ProtectionChange> protectionChangesOf(Patch patch)
{
    sim::system().protectionChanges.clear();
    patch();
    return sim::system().protectionChanges;
}

class PatchEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::buildHostImage();
        test_sites::lay();
    }
};

TEST_F(PatchEngine, BranchDestinationsDecodeAndWrapModulo2To32)
{
    const uint32_t site = freeCode;
    const std::pair<uint32_t, uint32_t> relative[] = {
        {0, site + 5}, {uint32_t(-5), site}, {0u - site, 5}, {0u - (site + 6), 0xFFFFFFFF}};
    for (auto [displacement, destination] : relative) {
        layBranch(site, 0xE8, displacement);
        EXPECT_EQ(injector::branch_destination(site), destination);
        layBranch(site, 0xE9, displacement);
        EXPECT_EQ(injector::branch_destination(site), destination);
    }
    for (uint32_t target : {0x10u, 0xFFFFF000u, site}) {
        EXPECT_TRUE(injector::redirect_call(site, target).written);
        EXPECT_EQ(injector::branch_destination(site), target);
    }

    sim::hostWrite(hostData + 2, uint32_t{0x12345678}); // the pointer itself, unaligned
    for (uint8_t mode : {0x15, 0x25}) {
        lay(site, {0xFF, mode, 0x02, 0x00, 0x90, 0x00});
        EXPECT_EQ(injector::branch_destination(site), 0x12345678u);
    }
    for (Bytes other : {Bytes{0xFF, 0x35, 0x02, 0x00, 0x90, 0x00}, Bytes{0xFF, 0x15, 0, 0, 0, 0}, Bytes{0xEB, 0x10},
                        Bytes{0xC3}}) {
        lay(site, other);
        EXPECT_EQ(injector::branch_destination(site), 0u);
    }
}

TEST_F(PatchEngine, RedirectedCallsLandWithTheHostsArgumentsAndStack)
{
    EXPECT_EQ(injector::redirect_call(cdeclSite, &cdeclTarget).former, cdeclHost);
    EXPECT_EQ(run(cdeclRoutine, 3, 4), 3004u + 3);
    EXPECT_EQ(targetArgs, (std::vector<uint32_t>{3, 4}));

    EXPECT_EQ(injector::redirect_call(thiscallSite, &thiscallTarget).former, thiscallHost);
    EXPECT_EQ(run(thiscallRoutine, 0xCFF000, 9), 500u + 9);
    EXPECT_EQ(targetArgs, (std::vector<uint32_t>{0xCFF000, 9}));
    EXPECT_TRUE(hostCalls.empty());
    EXPECT_EQ(sim::pageProtection(cdeclSite), executeRead);

    // A call at a function's entry turned into a jump: the whole function is replaced.
    write(sim::X86(freeCode).call(cdeclHost).ret());
    EXPECT_EQ(injector::redirect_jump(freeCode, &cdeclTarget).former, cdeclHost);
    EXPECT_EQ(run(freeCode, 6, 7), 6007u);
    EXPECT_EQ(injector::redirect_call(freeCode, thiscallHost).former, addressOf(&cdeclTarget));
    EXPECT_EQ(bytesAt(freeCode, 1), Bytes{0xE8});
}

TEST_F(PatchEngine, ByteAccessTouchesExactlyItsBytesAndPutsProtectionBack)
{
    const uint32_t edge = freeCode + 0xFFE; // across two code pages
    EXPECT_TRUE(injector::write_u32(edge, 0xA1B2C3D4));
    EXPECT_TRUE(injector::write_u8(edge + 3, 0x5A));
    EXPECT_EQ(injector::read_u32(edge), 0x5AB2C3D4u);
    EXPECT_EQ(injector::read_u8(edge + 1), 0xC3);
    EXPECT_TRUE(injector::fill_nop(freeCode + 0x10, 3));
    EXPECT_TRUE(injector::fill_nop(freeCode + 0x20, 0));
    EXPECT_EQ(bytesAt(freeCode + 0xF, 5), (Bytes{0, 0x90, 0x90, 0x90, 0}));
    EXPECT_EQ(sim::listPatches().size(), 2u);
    EXPECT_EQ(sim::pageProtection(edge), executeRead);
    EXPECT_EQ(sim::pageProtection(edge + 4), executeRead);

    EXPECT_TRUE(injector::write_u32(hostData + 1, 5));
    EXPECT_EQ(sim::pageProtection(hostData), uint32_t{PAGE_READWRITE});
}

TEST_F(PatchEngine, WhereProtectionCannotChangeNothingIsWrittenAndReadsGiveZero)
{
    // Two pages the host does not have, each after a branch whose operand runs into it.
    const uint32_t gone = 0x403000, alsoGone = 0x406000;
    lay(gone - 5, {0xFF, 0x15, 0x00, 0x90, 0x00});
    lay(alsoGone - 2, {0xE8, 0x10});
    sim::decommit(gone, gone + sim::pageSize);
    sim::decommit(alsoGone, alsoGone + sim::pageSize);

    EXPECT_FALSE(injector::write_u8(gone, 0xE8));
    EXPECT_FALSE(injector::write_u32(gone - 2, 0xFFFFFFFF));
    EXPECT_FALSE(injector::fill_nop(gone - 8, 16));
    const injector::Redirection redirected = injector::redirect_jump(gone + 0x10, 0x401000);
    EXPECT_EQ(redirected.former, 0u);
    EXPECT_FALSE(redirected.written);
    EXPECT_EQ(injector::read_u8(gone) + injector::read_u32(gone - 1), 0u);
    EXPECT_EQ(injector::branch_destination(gone - 5), 0u);
    EXPECT_EQ(injector::branch_destination(alsoGone - 2), 0u);
    injector::SiteHook kept(alsoGone - 2, 0x401000);
    EXPECT_FALSE(kept.is_saved());

    // (listing the patches would read the missing pages)
    EXPECT_EQ(bytesAt(gone - 8, 8), (Bytes{0, 0, 0, 0xFF, 0x15, 0x00, 0x90, 0x00}));
    EXPECT_EQ(bytesAt(alsoGone - 2, 2), (Bytes{0xE8, 0x10}));
    EXPECT_EQ(sim::pageProtection(gone - 1), executeRead);
}

TEST_F(PatchEngine, SiteHookKeepsTheFormerDestinationAndPutsTheBytesBackOnceWhoeverHoldsIt)
{
    const Bytes first = bytesAt(cdeclSite, 5), second = bytesAt(thiscallSite, 5);
    {
        injector::SiteHook hook(cdeclSite, addressOf(&cdeclTarget));
        EXPECT_EQ(hook.former_destination(), cdeclHost);
        EXPECT_EQ(run(cdeclRoutine, 3, 4), 3004u + 3);

        injector::SiteHook moved(std::move(hook));
        EXPECT_TRUE(hook.restore()); // nothing left to put back
        EXPECT_EQ(run(cdeclRoutine, 3, 4), 3004u + 3);
        EXPECT_EQ(moved.former_destination(), cdeclHost);

        injector::SiteHook other(thiscallSite, addressOf(&thiscallTarget));
        EXPECT_EQ(other.former_destination(), thiscallHost);
        other = std::move(moved); // gives its own site back first
        EXPECT_EQ(bytesAt(thiscallSite, 5), second);
        EXPECT_TRUE(other.restore());
        EXPECT_EQ(bytesAt(cdeclSite, 5), first);
        EXPECT_EQ(run(cdeclRoutine, 1, 2), 102u + 1);

        EXPECT_TRUE(injector::fill_nop(cdeclSite, 2)); // stays: the bytes went back already
    }
    EXPECT_EQ(bytesAt(cdeclSite, 2), (Bytes{0x90, 0x90}));
}

// As the start-up goes: every checked row that applies, then, when all hold, the writes.
injector::PatchRefusal checkThenApply(const injector::PatchTable& table)
{
    for (size_t i = 0; i < table.count; ++i) {
        const injector::PatchRow& row = table.rows[i];
        if (!row.applies)
            continue;
        if (injector::PatchRefusal refusal = injector::check_site(injector::liveHostMemory(), row.name, row.site, row.expected))
            return refusal;
    }
    EXPECT_FALSE(injector::apply_patches(table));
    return {};
}

// One table over the rows of every kind. Each case changes one site of the image first:
// a checked row that then differs keeps the whole table from being written, and names
// itself and what it found; otherwise the table writes exactly what the engine's own
// operations write, under the same protection changes, records what it overwrote, and
// puts exactly that back.
TEST_F(PatchEngine, ATableIsCheckedWholeBeforeAnyRowIsWritten)
{
    using enum injector::PatchKind;
    using enum injector::Shape;
    const uint32_t branch = freeCode, operand = freeCode + 0x10, run16 = freeCode + 0x20, edge = freeCode + 0x40;
    auto branchTo = [](uint8_t opcode, uint32_t site, uint32_t target) {
        Bytes bytes{opcode, 0, 0, 0, 0};
        uint32_t displacement = target - (site + 5);
        std::memcpy(&bytes[1], &displacement, 4);
        return bytes;
    };
    auto layImage = [&] {
        sim::buildHostImage();
        test_sites::lay();
        lay(branch, {0x74, 0x10});
        lay(operand, {1, 2, 3, 4});
        lay(run16, {0xC7, 0x44, 0x24, 0x10, 0, 0, 0, 0});
        lay(edge, branchTo(0xE8, edge, injector::hostImageBegin));
    };
    const injector::PatchRow rows[] = {
        {"call", cdeclSite, Call, HostCall, addressOf(&cdeclTarget)},
        {"branch", branch, ShortJump, ConditionalJump, 0},
        {"operand", operand, U32, Unchecked, 0xA1B2C3D4},
        {"run", run16, Nop, Unchecked, 3},
        {"jump", thiscallHost, Jump, Unchecked, addressOf(&thiscallTarget)},
        {"edge", edge, Call, HostCall, 0x401234},
        {"off", thiscallSite, Call, HostCall, 0x401234, false},
    };
    auto directly = [&] {
        EXPECT_TRUE(injector::redirect_call(cdeclSite, &cdeclTarget).written);
        EXPECT_TRUE(injector::write_u8(branch, 0xEB));
        EXPECT_TRUE(injector::write_u32(operand, 0xA1B2C3D4));
        EXPECT_TRUE(injector::fill_nop(run16, 3));
        EXPECT_TRUE(injector::redirect_jump(thiscallHost, &thiscallTarget).written);
        EXPECT_TRUE(injector::redirect_call(edge, 0x401234).written);
    };
    struct Case {
        const char* refused; // the row named, or nullptr: written
        uint32_t site;
        Bytes laid;
    };
    const Case cases[] = {
        {nullptr, 0, {}},
        {nullptr, branch, {0x70, 0x10}},
        {nullptr, branch, {0x7F, 0x10}},
        {nullptr, branch, {0xEB, 0x10}},
        {nullptr, thiscallSite, {0xC3}}, // a row left out is not checked
        {"call", cdeclSite, branchTo(0xE9, cdeclSite, cdeclHost)},
        {"edge", edge, branchTo(0xE8, edge, injector::hostImageBegin - 1)},
        {"edge", edge, branchTo(0xE8, edge, injector::hostImageEnd)},
        {"branch", branch, {0x6F, 0x10}},
        {"branch", branch, {0x80, 0x10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.laid));
        layImage();
        if (!c.laid.empty())
            lay(c.site, c.laid);
        const Bytes found = bytesAt(c.site ? c.site : freeCode, 5);
        injector::PatchRecord records[std::size(rows)];
        std::memset(records, 0xCC, sizeof records);
        sim::system().protectionChanges.clear();
        const injector::PatchTable table{rows, records, std::size(rows)};
        injector::PatchRefusal refusal = checkThenApply(table);
        if (c.refused) {
            EXPECT_STREQ(refusal.row, c.refused);
            EXPECT_EQ(refusal.site, c.site);
            EXPECT_EQ(refusal.expected, c.site == branch ? ConditionalJump : HostCall);
            EXPECT_EQ(Bytes(refusal.found, refusal.found + 5), found);
            EXPECT_TRUE(sim::listPatches().empty());
            EXPECT_TRUE(sim::system().protectionChanges.empty());
            continue;
        }
        EXPECT_FALSE(refusal);
        const auto tableChanges = sim::system().protectionChanges;
        const auto tablePatches = sim::listPatches();
        layImage();
        if (!c.laid.empty())
            lay(c.site, c.laid);
        EXPECT_EQ(protectionChangesOf(directly), tableChanges);
        const auto patches = sim::listPatches();
        ASSERT_EQ(patches.size(), tablePatches.size());
        for (size_t i = 0; i < patches.size(); ++i) {
            EXPECT_EQ(patches[i].address, tablePatches[i].address);
            EXPECT_EQ(patches[i].after, tablePatches[i].after);
        }

        const std::pair<Bytes, uint32_t> recorded[] = {
            {branchTo(0xE8, cdeclSite, cdeclHost), cdeclHost},
            {Bytes{c.site == branch ? c.laid[0] : uint8_t{0x74}}, 0},
            {Bytes{1, 2, 3, 4}, 0},
            {Bytes{0xC7, 0x44, 0x24}, 0},
            {branchTo(0xE9, thiscallHost, addressOf(&hostThiscall)), addressOf(&hostThiscall)},
            {branchTo(0xE8, edge, injector::hostImageBegin), injector::hostImageBegin},
            {Bytes{}, 0},
        };
        for (size_t i = 0; i < std::size(rows); ++i) {
            const injector::PatchRecord& r = records[i];
            EXPECT_EQ(Bytes(r.original, r.original + r.size), recorded[i].first) << rows[i].name;
            EXPECT_EQ(r.former, recorded[i].second) << rows[i].name;
        }
        EXPECT_TRUE(injector::restore_patches(table));
        EXPECT_TRUE(sim::listPatches().empty());
        EXPECT_EQ(records[0].size, 0u) << "put back once";
    }
}

// A redirection reads where the site went without changing any protection, then writes
// its five bytes under one scope; so does a site hook, which keeps them too.
TEST_F(PatchEngine, ARedirectWritesItsFiveBytesUnderOneScope)
{
    const uint32_t rwx = PAGE_EXECUTE_READWRITE;
    const std::vector<sim::ProtectionChange> expected = {{cdeclSite, 5, rwx}, {cdeclSite, 5, executeRead}};
    auto changes = protectionChangesOf([] { EXPECT_TRUE(injector::redirect_call(cdeclSite, 0x401234).written); });
    EXPECT_EQ(changes, expected);
    changes = protectionChangesOf([] { EXPECT_TRUE(injector::redirect_jump(cdeclSite, 0x401234).written); });
    EXPECT_EQ(changes, expected);
    EXPECT_EQ(bytesAt(cdeclSite, 1), Bytes{0xE9});
    changes = protectionChangesOf([] { EXPECT_TRUE(injector::SiteHook(cdeclSite, 0x401234, 0xE8).is_saved()); });
    EXPECT_EQ(changes.size(), 4u) << "one scope to write, one to put back";
    EXPECT_EQ(std::vector(changes.begin(), changes.begin() + 2), expected);

    EXPECT_TRUE(protectionChangesOf([] { EXPECT_TRUE(injector::fill_nop(cdeclSite, 0)); }).empty());
    EXPECT_EQ(bytesAt(cdeclSite, 1), Bytes{0xE9});
}

// A row the game will not let be written, or one longer than a record keeps, stops the
// table there: that row is left as it was, the rows before stay written until they are
// put back, and the rows after are not reached.
TEST_F(PatchEngine, ATableStopsAtTheFirstRowItCannotWrite)
{
    using enum injector::PatchKind;
    using enum injector::Shape;
    const uint32_t guarded = freeCode + 0x12;
    const struct {
        const char* failing;
        injector::PatchRow row;
    } cases[] = {
        {"refused", {"refused", guarded - 3, U32, Unchecked, 7}},
        {"long", {"long", freeCode + 0x40, Nop, Unchecked, injector::maxRowBytes + 1}},
        {nullptr, {"longest", freeCode + 0x40, Nop, Unchecked, injector::maxRowBytes}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row.name);
        sim::buildHostImage();
        test_sites::lay();
        sim::system().protectionRefused = {guarded};
        const Bytes before = bytesAt(freeCode, 0x60);
        const injector::PatchRow rows[] = {
            {"first", freeCode, U32, Unchecked, 0xA1B2C3D4},
            {"second", cdeclSite, Call, HostCall, 0x401234},
            c.row,
            {"after", freeCode + 0x20, ShortJump, Unchecked, 0},
        };
        injector::PatchRecord records[std::size(rows)];
        const injector::PatchTable table{rows, records, std::size(rows)};
        const injector::PatchFailure failure = injector::apply_patches(table);
        if (!c.failing) {
            EXPECT_FALSE(failure);
            EXPECT_EQ(records[2].size, injector::maxRowBytes);
            continue;
        }
        EXPECT_STREQ(failure.row, c.failing);
        EXPECT_EQ(failure.site, c.row.site);
        EXPECT_EQ(records[0].size + records[1].size + records[2].size + records[3].size, 4u + 5u);
        EXPECT_EQ(records[1].former, cdeclHost);
        EXPECT_EQ(bytesAt(freeCode + 0x20, 1), Bytes{0}) << "a row after the failure";
        EXPECT_EQ(sim::listPatches().size(), 2u);
        EXPECT_TRUE(injector::restore_patches(table));
        EXPECT_TRUE(sim::listPatches().empty());
        EXPECT_EQ(bytesAt(freeCode, 0x60), before);
    }
    sim::system().protectionRefused.clear();
}

} // namespace
