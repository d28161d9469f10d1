#include "host_image.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "address_space.h"
#include "image_writer.h"
#include "platform/win32.h"

namespace sim {

namespace {

bool built = false;
std::vector<uint32_t> protections;   // Windows protection per page, 0 = not committed
std::vector<uint8_t> written;        // the code as the simulated host wrote it

uint32_t pageIndex(uint32_t address) { return (address - imageBegin) / pageSize; }

Access accessOf(uint32_t protect)
{
    switch (protect) {
    case PAGE_READONLY: return Access::Read;
    case PAGE_READWRITE: return Access::ReadWrite;
    case PAGE_EXECUTE:
    case PAGE_EXECUTE_READ: return Access::ReadExecute;
    case PAGE_EXECUTE_READWRITE: return Access::ReadWriteExecute;
    default: return Access::None;
    }
}

uint8_t* at(uint32_t address) { return reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(address)); }

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "kellhud-sim: %s\n", what);
    std::exit(3);
}

} // namespace

void ImageWriter::write(uint32_t address, const X86& code, const std::string& what)
{
    write(address, code.bytes().data(), static_cast<uint32_t>(code.bytes().size()), what);
}

void ImageWriter::write(uint32_t address, const uint8_t* bytes, uint32_t size, const std::string& what)
{
    uint32_t end = address + size;
    if (address < imageBegin || end > codeEnd)
        fail(("code outside the host's code pages: " + what).c_str());
    auto next = claims.lower_bound(address);
    if (next != claims.end() && next->first < end)
        fail(("host code overlaps: " + what + " and " + next->second.what).c_str());
    if (next != claims.begin() && std::prev(next)->second.end > address)
        fail(("host code overlaps: " + what + " and " + std::prev(next)->second.what).c_str());
    claims[address] = {end, what};
    std::memcpy(at(address), bytes, size);
}

void mapHostImage()
{
    if (built)
        releaseHostImage();
    if (!mapFixedRange(imageBegin, imageEnd))
        fail("cannot map the host image at 0x400000..0xD00000");
    built = true;
    protections.assign((imageEnd - imageBegin) / pageSize, PAGE_READWRITE);
}

void sealHostCode()
{
    written.assign(at(imageBegin), at(codeEnd));
    setAccess(imageBegin, codeEnd, Access::ReadExecute);
    for (uint32_t a = imageBegin; a < codeEnd; a += pageSize)
        protections[pageIndex(a)] = PAGE_EXECUTE_READ;
}

void hostImageFault(const std::string& what) { fail(what.c_str()); }

void releaseHostImage()
{
    if (!built)
        return;
    unmapFixedRange(imageBegin, imageEnd);
    built = false;
    protections.clear();
    written.clear();
}

bool hostImageBuilt() { return built; }

bool inHostImage(uint32_t address) { return address >= imageBegin && address < imageEnd; }

uint32_t pageProtection(uint32_t address)
{
    if (!built || !inHostImage(address))
        return 0;
    return protections[pageIndex(address)];
}

bool changeProtection(uint32_t begin, uint32_t end, uint32_t protect)
{
    uint32_t first = begin & ~(pageSize - 1);
    uint32_t last = (end + pageSize - 1) & ~(pageSize - 1);
    for (uint32_t a = first; a < last; a += pageSize)
        if (pageProtection(a) == 0)
            return false;
    if (!setAccess(first, last, accessOf(protect)))
        return false;
    for (uint32_t a = first; a < last; a += pageSize)
        protections[pageIndex(a)] = protect;
    return true;
}

void decommit(uint32_t begin, uint32_t end)
{
    uint32_t first = begin & ~(pageSize - 1);
    uint32_t last = (end + pageSize - 1) & ~(pageSize - 1);
    setAccess(first, last, Access::None);
    for (uint32_t a = first; a < last; a += pageSize)
        protections[pageIndex(a)] = 0;
}

void hostWrite(uint32_t address, const void* bytes, uint32_t size)
{
    uint32_t first = address & ~(pageSize - 1);
    uint32_t last = (address + size + pageSize - 1) & ~(pageSize - 1);
    bool code = address < codeEnd;
    if (code)
        setAccess(first, last, Access::ReadWrite);
    std::memcpy(at(address), bytes, size);
    if (code) {
        std::memcpy(written.data() + (address - imageBegin), bytes, size);
        for (uint32_t a = first; a < last; a += pageSize)
            setAccess(a, a + pageSize, accessOf(protections[pageIndex(a)]));
    }
}

std::vector<PatchRun> listPatches()
{
    std::vector<PatchRun> runs;
    const uint8_t* now = at(imageBegin);
    uint32_t size = codeEnd - imageBegin;
    for (uint32_t i = 0; i < size;) {
        if (now[i] == written[i]) {
            ++i;
            continue;
        }
        // A run goes on over fewer than four unchanged bytes, so that one patched
        // instruction whose new bytes happen to match in the middle stays one run.
        uint32_t end = i;
        for (uint32_t j = i; j < size && j < end + 4; ++j)
            if (now[j] != written[j])
                end = j + 1;
        runs.push_back({imageBegin + i, {written.begin() + i, written.begin() + end}, {now + i, now + end}});
        i = end;
    }
    return runs;
}

} // namespace sim
