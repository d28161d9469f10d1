#include "address_space.h"

#include <windows.h>

#include <cstring>

// On Windows the host's range is the program's own first section, .hostimg, which the
// linker places at 0x401000 (see cmake/windows-tools.cmake): the loader has reserved it
// before any other module can take it. Mapping the range makes it a blank, writable
// image; the page of 0x400000 is the program's own header, which the host never writes.

extern "C" char __ImageBase;

// The section itself: uninitialised ("b"), writable and executable, exactly the range.
asm(".section .hostimg,\"bwx\"\n\t.space 0xD00000 - 0x401000\n\t.text\n");

namespace sim {

namespace {

constexpr uint32_t sectionBegin = 0x401000;
constexpr uint32_t sectionEnd = 0xD00000;

DWORD protection(Access access)
{
    switch (access) {
    case Access::None: return PAGE_NOACCESS;
    case Access::Read: return PAGE_READONLY;
    case Access::ReadWrite: return PAGE_READWRITE;
    case Access::ReadExecute: return PAGE_EXECUTE_READ;
    case Access::ReadWriteExecute: return PAGE_EXECUTE_READWRITE;
    }
    return PAGE_NOACCESS;
}

void* at(uint32_t address) { return reinterpret_cast<void*>(static_cast<uintptr_t>(address)); }

// The part of [begin, end) that lies in the section: the header page stays the loader's.
bool clamp(uint32_t& begin, uint32_t end)
{
    if (begin < sectionBegin)
        begin = sectionBegin;
    return begin < end && end <= sectionEnd;
}

} // namespace

bool mapFixedRange(uint32_t begin, uint32_t end)
{
    // Only a program loaded at the host's image base holds the range.
    if (reinterpret_cast<uintptr_t>(&__ImageBase) != 0x400000 || !clamp(begin, end))
        return false;
    if (!setAccess(begin, end, Access::ReadWrite))
        return false;
    std::memset(at(begin), 0, end - begin);
    return true;
}

// The section stays; what the next mapping finds is wiped by it.
void unmapFixedRange(uint32_t begin, uint32_t end)
{
    if (clamp(begin, end))
        setAccess(begin, end, Access::ReadWrite);
}

bool setAccess(uint32_t begin, uint32_t end, Access access)
{
    if (!clamp(begin, end))
        return begin == end;
    DWORD old = 0;
    return VirtualProtect(at(begin), end - begin, protection(access), &old) != 0;
}

} // namespace sim
