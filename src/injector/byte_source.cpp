#include "injector/byte_source.h"

#include <cstring>

#include "platform/address.h"
#include "platform/win32.h"

namespace injector {

namespace {

bool readable(const MEMORY_BASIC_INFORMATION& region)
{
    constexpr DWORD readableProtections = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                          PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return region.State == MEM_COMMIT && (region.Protect & PAGE_GUARD) == 0 &&
           (region.Protect & readableProtections) != 0;
}

bool readLive(const void*, uint32_t address, void* out, uint32_t size)
{
    const uint64_t end = uint64_t{address} + size;
    if (end > 0x100000000ull)
        return false;
    for (uint64_t at = address; at < end;) {
        MEMORY_BASIC_INFORMATION region;
        if (VirtualQuery(pointerTo<const void*>(static_cast<uint32_t>(at)), &region, sizeof region) != sizeof region ||
            !readable(region))
            return false;
        const uint64_t regionEnd = uint64_t{addressOf(region.BaseAddress)} + region.RegionSize;
        if (regionEnd <= at)
            return false;
        at = regionEnd;
    }
    std::memcpy(out, pointerTo<const void*>(address), size);
    return true;
}

} // namespace

ByteSource liveHostMemory() { return {&readLive, nullptr}; }

} // namespace injector
