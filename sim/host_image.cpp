#include "host_image.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "address_space.h"
#include "graphics_device.h"
#include "host_aim.h"
#include "host/host.h"
#include "host/host_table.h"
#include "host_help.h"
#include "host_phone.h"
#include "host_radar.h"
#include "host_routines.h"
#include "host_renderer_start.h"
#include "host_options.h"
#include "host_sites.h"
#include "image_writer.h"
#include "platform/win32.h"
#include "render_engine.h"
#include "substitutes.h"

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

// A host function the simulated host has no substitute for: its stub calls here, and the
// return address names the function.
extern "C" KH_CDECL void unsimulatedHostFunction(uint32_t stubEnd)
{
    uint32_t address = stubEnd - 5;
    for (const host::Fact& f : host::facts)
        if (f.kind == host::FactKind::Function && f.address == address)
            std::fprintf(stderr, "kellhud-sim: host function %s (0x%X) is not simulated yet\n", f.name, address);
    std::abort();
}

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

// A host function's entry: a jump to its substitute (a call to the trap where there is
// none). At an address of ours the entry holds what the host table says such a host must
// have there, the jump filling the bytes the table leaves free, so the plug-in's start-up
// check and the simulated host cannot disagree.
static void writeFunctionEntry(ImageWriter& image, const host::Fact& f, const void* substitute, uint32_t trapEntry)
{
    X86 stub(f.address);
    if (substitute)
        stub.jmp(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(substitute)));
    else
        stub.call(trapEntry);
    if (!f.entry) {
        image.write(f.address, stub, f.name);
        return;
    }
    const host::chosen::Entry& entry = *f.entry;
    uint8_t bytes[host::chosen::entry_size];
    std::memcpy(bytes, entry.bytes, sizeof bytes);
    const std::vector<uint8_t>& jump = stub.bytes();
    for (size_t i = 0; i < jump.size(); ++i) {
        const bool taken = i > 0 ? entry.mask[i] != 0 : entry.mask[0] != 0 && entry.bytes[0] != jump[0];
        if (substitute && taken)
            fail((std::string("the host table leaves no room for a jump at the entry of ") + f.name).c_str());
        bytes[i] = jump[i];
    }
    image.write(f.address, bytes, sizeof bytes, f.name);
}

void buildHostImage()
{
    if (built)
        releaseHostImage();
    if (!mapFixedRange(imageBegin, imageEnd))
        fail("cannot map the host image at 0x400000..0xD00000");
    built = true;
    protections.assign((imageEnd - imageBegin) / pageSize, PAGE_READWRITE);

    registerAllSubstitutes();
    ImageWriter image;
    uint32_t trapEntry = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&unsimulatedHostFunction));
    for (const host::Fact& f : host::facts)
        if (f.kind == host::FactKind::Function)
            writeFunctionEntry(image, f, substituteAt(f.address), trapEntry);
    writeEventSites(image);
    writeHookMapSites(image);
    writeHostRoutines(image);
    writeHelpSites(image);
    writeRadarLayers(image);
    writeRenderEngine(image);
    writeGraphicsDevice(image);
    writeRendererStartPath(image);
    writeHostBarCode(image);
    writeOptionSites(image);
    writeAimRoutines(image);

    written.assign(at(imageBegin), at(codeEnd));
    setAccess(imageBegin, codeEnd, Access::ReadExecute);
    for (uint32_t a = imageBegin; a < codeEnd; a += pageSize)
        protections[pageIndex(a)] = PAGE_EXECUTE_READ;
}

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
