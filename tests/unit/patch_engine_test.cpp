#include <gtest/gtest.h>

#include <cstring>

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
        injector::redirect_call(site, target);
        EXPECT_EQ(injector::branch_destination(site), target);
    }

    sim::hostWrite(hostData + 2, uint32_t{0x12345678}); // the pointer itself, unaligned
    for (uint8_t mode : {0x15, 0x25}) {
        lay(site, {0xFF, mode, 0x02, 0x00, 0x90, 0x00});
        EXPECT_EQ(injector::branch_destination(site), 0x12345678u);
    }
    for (Bytes other : {Bytes{0xFF, 0x35, 0x02, 0x00, 0x90, 0x00}, Bytes{0xEB, 0x10}, Bytes{0xC3}}) {
        lay(site, other);
        EXPECT_EQ(injector::branch_destination(site), 0u);
    }
}

TEST_F(PatchEngine, RedirectedCallsLandWithTheHostsArgumentsAndStack)
{
    EXPECT_EQ(injector::redirect_call(cdeclSite, &cdeclTarget), cdeclHost);
    EXPECT_EQ(run(cdeclRoutine, 3, 4), 3004u + 3);
    EXPECT_EQ(targetArgs, (std::vector<uint32_t>{3, 4}));

    EXPECT_EQ(injector::redirect_call(thiscallSite, &thiscallTarget), thiscallHost);
    EXPECT_EQ(run(thiscallRoutine, 0xCFF000, 9), 500u + 9);
    EXPECT_EQ(targetArgs, (std::vector<uint32_t>{0xCFF000, 9}));
    EXPECT_TRUE(hostCalls.empty());
    EXPECT_EQ(sim::pageProtection(cdeclSite), executeRead);

    // A call at a function's entry turned into a jump: the whole function is replaced.
    write(sim::X86(freeCode).call(cdeclHost).ret());
    EXPECT_EQ(injector::redirect_jump(freeCode, &cdeclTarget), cdeclHost);
    EXPECT_EQ(run(freeCode, 6, 7), 6007u);
    EXPECT_EQ(injector::redirect_call(freeCode, thiscallHost), addressOf(&cdeclTarget));
    EXPECT_EQ(bytesAt(freeCode, 1), Bytes{0xE8});
}

TEST_F(PatchEngine, ByteAccessTouchesExactlyItsBytesAndPutsProtectionBack)
{
    const uint32_t edge = freeCode + 0xFFE; // across two code pages
    injector::write_u32(edge, 0xA1B2C3D4);
    injector::write_u8(edge + 3, 0x5A);
    EXPECT_EQ(injector::read_u32(edge), 0x5AB2C3D4u);
    EXPECT_EQ(injector::read_u8(edge + 1), 0xC3);
    injector::fill_nop(freeCode + 0x10, 3);
    injector::fill_nop(freeCode + 0x20, 0);
    EXPECT_EQ(bytesAt(freeCode + 0xF, 5), (Bytes{0, 0x90, 0x90, 0x90, 0}));
    EXPECT_EQ(sim::listPatches().size(), 2u);
    EXPECT_EQ(sim::pageProtection(edge), executeRead);
    EXPECT_EQ(sim::pageProtection(edge + 4), executeRead);

    injector::write_u32(hostData + 1, 5);
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

    injector::write_u8(gone, 0xE8);
    injector::write_u32(gone - 2, 0xFFFFFFFF);
    injector::fill_nop(gone - 8, 16);
    EXPECT_EQ(injector::redirect_jump(gone + 0x10, 0x401000), 0u);
    EXPECT_EQ(injector::read_u8(gone) + injector::read_u32(gone - 1), 0u);
    EXPECT_EQ(injector::branch_destination(gone - 5), 0u);
    EXPECT_EQ(injector::branch_destination(alsoGone - 2), 0u);
    injector::scoped_basic<5> kept;
    kept.save(alsoGone - 2, 5, true);
    EXPECT_FALSE(kept.is_saved());

    // (listing the patches would read the missing pages)
    EXPECT_EQ(bytesAt(gone - 8, 8), (Bytes{0, 0, 0, 0xFF, 0x15, 0x00, 0x90, 0x00}));
    EXPECT_EQ(bytesAt(alsoGone - 2, 2), (Bytes{0xE8, 0x10}));
    EXPECT_EQ(sim::pageProtection(gone - 1), executeRead);
}

TEST_F(PatchEngine, SavedBytesGoBackOnceAndASecondSaveFirstRestoresTheFirst)
{
    const Bytes first = bytesAt(cdeclSite, 5), second = bytesAt(thiscallSite, 5);
    {
        injector::scoped_basic<5> kept;
        kept.save(cdeclSite, 5, true);
        injector::fill_nop(cdeclSite, 5);
        kept.save(thiscallSite, 5, true);
        EXPECT_EQ(bytesAt(cdeclSite, 5), first);

        injector::fill_nop(thiscallSite, 5);
        kept.restore();
        EXPECT_EQ(bytesAt(thiscallSite, 5), second);
        injector::fill_nop(thiscallSite, 2);
        kept.restore();
        EXPECT_EQ(bytesAt(thiscallSite, 2), (Bytes{0x90, 0x90}));

        kept.save(cdeclSite, 5, true);
        injector::redirect_call(cdeclSite, &cdeclTarget);
    }
    EXPECT_EQ(run(cdeclRoutine, 1, 2), 102u + 1);
}

std::vector<sim::ProtectionChange> protectionChangesOf(void (*patch)())
{
    sim::system().protectionChanges.clear();
    patch();
    return sim::system().protectionChanges;
}

TEST_F(PatchEngine, RedirectReadsTheSiteThenWritesOpcodeBeforeDisplacementEachUnderItsOwnScope)
{
    const uint32_t rwx = PAGE_EXECUTE_READWRITE;
    const std::vector<sim::ProtectionChange> expected = {
        {cdeclSite, 1, rwx},     {cdeclSite, 1, executeRead},     // read the opcode
        {cdeclSite + 1, 4, rwx}, {cdeclSite + 1, 4, executeRead}, // read the displacement
        {cdeclSite, 1, rwx},     {cdeclSite, 1, executeRead},     // write the opcode
        {cdeclSite + 1, 4, rwx}, {cdeclSite + 1, 4, executeRead}, // write the displacement
    };
    auto changes = protectionChangesOf([] { injector::redirect_call(cdeclSite, 0x401234); });
    EXPECT_EQ(changes, expected);
    changes = protectionChangesOf([] { injector::redirect_jump(cdeclSite, 0x401234); });
    EXPECT_EQ(changes, expected);
    EXPECT_EQ(bytesAt(cdeclSite, 1), Bytes{0xE9});

    EXPECT_TRUE(protectionChangesOf([] { injector::fill_nop(cdeclSite, 0); }).empty());
    EXPECT_EQ(bytesAt(cdeclSite, 1), Bytes{0xE9});
}

TEST(PatchEngineDeathTest, SavingMoreThanTheBufferIsFatal)
{
    sim::buildHostImage();
    injector::scoped_basic<5> kept;
    EXPECT_DEATH(kept.save(cdeclSite, 6, true), "size <= bufsize");
}

} // namespace
