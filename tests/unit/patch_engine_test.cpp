#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host_image.h"
#include "injector/hooking.h"
#include "platform/win32.h"
#include "test_sites.h"

namespace {

using namespace test_sites;

constexpr uint32_t freeCode = 0x402000; // code page of our own for loose bytes
constexpr uint32_t hostData = 0x900000;

void lay(uint32_t address, std::vector<uint8_t> bytes)
{
    sim::hostWrite(address, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void layBranch(uint32_t address, uint8_t opcode, uint32_t operand)
{
    uint8_t bytes[5] = {opcode};
    std::memcpy(bytes + 1, &operand, 4);
    sim::hostWrite(address, bytes, 5);
}

std::vector<uint8_t> bytesAt(uint32_t address, uint32_t count)
{
    const uint8_t* p = reinterpret_cast<const uint8_t*>(uintptr_t{address});
    return {p, p + count};
}

std::vector<uint8_t> code(std::initializer_list<uint8_t> bytes) { return bytes; }

std::vector<uint32_t> cdeclArgs;
KH_CDECL uint32_t cdeclTarget(uint32_t a, uint32_t b)
{
    cdeclArgs = {a, b};
    return a * 1000 + b;
}

std::vector<uint32_t> thiscallArgs;
KH_THISCALL uint32_t thiscallTarget(void* self, uint32_t x)
{
    thiscallArgs = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(self)), x};
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

TEST_F(PatchEngine, RelativeBranchDestinationsWrapModulo2To32)
{
    const uint32_t site = freeCode;
    layBranch(site, 0xE8, 0);
    EXPECT_EQ(injector::branch_destination(site), site + 5);
    layBranch(site, 0xE9, static_cast<uint32_t>(-5));
    EXPECT_EQ(injector::branch_destination(site), site);
    layBranch(site, 0xE8, 0u - site); // past the top of the address space
    EXPECT_EQ(injector::branch_destination(site), 5u);
    layBranch(site, 0xE9, 0u - (site + 6)); // below address 0
    EXPECT_EQ(injector::branch_destination(site), 0xFFFFFFFFu);

    // Writing wraps the same way, so any target reads back as written.
    for (uint32_t target : {0x10u, 0xFFFFF000u, site, site + 5}) {
        injector::redirect_call(site, target);
        EXPECT_EQ(injector::branch_destination(site), target);
        EXPECT_EQ(bytesAt(site, 1)[0], 0xE8);
    }
}

TEST_F(PatchEngine, IndirectBranchesYieldThePointerStoredAtTheOperand)
{
    const uint32_t slot = hostData + 2; // host data is not aligned
    sim::hostWrite(slot, uint32_t{0x12345678});
    lay(freeCode, code({0xFF, 0x15, 0x02, 0x00, 0x90, 0x00}));
    EXPECT_EQ(injector::branch_destination(freeCode), 0x12345678u);
    lay(freeCode, code({0xFF, 0x25, 0x02, 0x00, 0x90, 0x00}));
    EXPECT_EQ(injector::branch_destination(freeCode), 0x12345678u);

    lay(freeCode, code({0xFF, 0x35, 0x02, 0x00, 0x90, 0x00})); // push [p]
    EXPECT_EQ(injector::branch_destination(freeCode), 0u);
    lay(freeCode, code({0xEB, 0x10, 0x90, 0x90, 0x90})); // short jump
    EXPECT_EQ(injector::branch_destination(freeCode), 0u);
    lay(freeCode, code({0xC3, 0x90, 0x90, 0x90, 0x90}));
    EXPECT_EQ(injector::branch_destination(freeCode), 0u);
}

TEST_F(PatchEngine, RedirectedCallsLandWithTheHostsArgumentsAndStack)
{
    ASSERT_EQ(runCdeclRoutine(3, 4), 304u + 3);
    hostCalls.clear();

    EXPECT_EQ(injector::redirect_call(cdeclSite, &cdeclTarget), cdeclHost);
    EXPECT_EQ(runCdeclRoutine(3, 4), 3004u + 3);
    EXPECT_EQ(cdeclArgs, (std::vector<uint32_t>{3, 4}));

    EXPECT_EQ(injector::redirect_call(thiscallSite, &thiscallTarget), thiscallHost);
    EXPECT_EQ(runThiscallRoutine(0xCFF000, 9), 500u + 9);
    EXPECT_EQ(thiscallArgs, (std::vector<uint32_t>{0xCFF000, 9}));

    EXPECT_TRUE(hostCalls.empty());
    EXPECT_EQ(sim::pageProtection(cdeclSite), static_cast<uint32_t>(PAGE_EXECUTE_READ));
}

TEST_F(PatchEngine, RedirectOverwritesEitherBranchKindAndReturnsItsDestination)
{
    // A host function entered at its first byte, replaced whole by a jump.
    const uint32_t function = freeCode;
    sim::X86 host(function);
    host.call(cdeclHost).ret();
    write(host);
    EXPECT_EQ(injector::redirect_jump(function, &cdeclTarget), cdeclHost);
    EXPECT_EQ(bytesAt(function, 1)[0], 0xE9);
    using Function = uint32_t(KH_CDECL*)(uint32_t, uint32_t);
    EXPECT_EQ(reinterpret_cast<Function>(uintptr_t{function})(6, 7), 6007u);
    EXPECT_EQ(cdeclArgs, (std::vector<uint32_t>{6, 7}));

    EXPECT_EQ(injector::redirect_call(function, thiscallHost), injector::address_of(&cdeclTarget));
    EXPECT_EQ(bytesAt(function, 1)[0], 0xE8);
    EXPECT_EQ(injector::branch_destination(function), thiscallHost);
}

TEST_F(PatchEngine, ByteAccessTouchesExactlyItsBytesAndPutsProtectionBack)
{
    const uint32_t edge = freeCode + 0xFFE; // a write across two code pages
    injector::write_u32(edge, 0xA1B2C3D4);
    EXPECT_EQ(injector::read_u32(edge), 0xA1B2C3D4u);
    EXPECT_EQ(injector::read_u8(edge + 1), 0xC3);
    injector::write_u8(edge + 3, 0x5A);
    EXPECT_EQ(bytesAt(edge - 1, 6), code({0x00, 0xD4, 0xC3, 0xB2, 0x5A, 0x00}));
    EXPECT_EQ(sim::pageProtection(edge), static_cast<uint32_t>(PAGE_EXECUTE_READ));
    EXPECT_EQ(sim::pageProtection(edge + 4), static_cast<uint32_t>(PAGE_EXECUTE_READ));

    injector::write_u32(hostData + 1, 5);
    EXPECT_EQ(injector::read_u32(hostData + 1), 5u);
    EXPECT_EQ(sim::pageProtection(hostData), static_cast<uint32_t>(PAGE_READWRITE));

    injector::fill_nop(freeCode + 0x10, 3);
    EXPECT_EQ(bytesAt(freeCode + 0xF, 5), code({0x00, 0x90, 0x90, 0x90, 0x00}));
    injector::fill_nop(freeCode + 0x20, 0);
    EXPECT_EQ(bytesAt(freeCode + 0x20, 1)[0], 0x00);
    EXPECT_EQ(sim::listPatches().size(), 2u);
}

TEST_F(PatchEngine, WhereProtectionCannotChangeNothingIsWrittenAndReadsGiveZero)
{
    // Two pages the host does not have, each after a branch whose operand runs into it.
    const uint32_t gone = 0x403000;
    const uint32_t alsoGone = 0x406000;
    lay(gone - 5, code({0xFF, 0x15, 0x00, 0x90, 0x00}));
    lay(alsoGone - 2, code({0xE8, 0x10}));
    sim::decommit(gone, gone + sim::pageSize);
    sim::decommit(alsoGone, alsoGone + sim::pageSize);

    injector::write_u8(gone, 0xE8);
    injector::write_u32(gone - 2, 0xFFFFFFFF);
    injector::fill_nop(gone - 8, 16);
    EXPECT_EQ(injector::redirect_call(gone, 0x401000), 0u);
    EXPECT_EQ(injector::redirect_jump(gone + 0x10, 0x401000), 0u);
    EXPECT_EQ(injector::read_u8(gone), 0);
    EXPECT_EQ(injector::read_u32(gone - 1), 0u);
    EXPECT_EQ(injector::branch_destination(gone - 5), 0u);
    EXPECT_EQ(injector::branch_destination(alsoGone - 2), 0u);

    injector::scoped_basic<5> kept;
    kept.save(alsoGone - 2, 5, true);
    EXPECT_FALSE(kept.is_saved());
    kept.restore();

    // (the patch list would read the missing pages, so compare the bytes before them)
    EXPECT_EQ(bytesAt(gone - 8, 8), code({0x00, 0x00, 0x00, 0xFF, 0x15, 0x00, 0x90, 0x00}));
    EXPECT_EQ(bytesAt(alsoGone - 4, 4), code({0x00, 0x00, 0xE8, 0x10}));
    EXPECT_EQ(sim::pageProtection(gone - 1), static_cast<uint32_t>(PAGE_EXECUTE_READ));
    EXPECT_EQ(sim::pageProtection(gone), 0u);
}

TEST_F(PatchEngine, SavedBytesGoBackOnceAndASecondSaveFirstRestoresTheFirst)
{
    const uint32_t first = cdeclSite;
    const uint32_t second = thiscallSite;
    const std::vector<uint8_t> firstBytes = bytesAt(first, 5);
    const std::vector<uint8_t> secondBytes = bytesAt(second, 5);
    {
        injector::scoped_basic<5> kept;
        kept.save(first, 5, true);
        injector::fill_nop(first, 5);
        kept.save(second, 5, true);
        EXPECT_EQ(bytesAt(first, 5), firstBytes);

        injector::fill_nop(second, 5);
        kept.restore();
        EXPECT_EQ(bytesAt(second, 5), secondBytes);
        injector::fill_nop(second, 2);
        kept.restore();
        EXPECT_EQ(bytesAt(second, 2), code({0x90, 0x90}));

        kept.save(first, 5, true);
        injector::redirect_call(first, &cdeclTarget);
    }
    EXPECT_EQ(bytesAt(first, 5), firstBytes);
    EXPECT_EQ(runCdeclRoutine(1, 2), 102u + 1);
}

TEST(PatchEngineDeathTest, SavingMoreThanTheBufferIsFatal)
{
    sim::buildHostImage();
    injector::scoped_basic<5> kept;
    EXPECT_DEATH(kept.save(test_sites::cdeclSite, 6, true), "size <= bufsize");
}

} // namespace
