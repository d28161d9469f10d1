#include "address_space.h"

#include <sys/mman.h>

namespace sim {

namespace {

int prot(Access access)
{
    switch (access) {
    case Access::None: return PROT_NONE;
    case Access::Read: return PROT_READ;
    case Access::ReadWrite: return PROT_READ | PROT_WRITE;
    case Access::ReadExecute: return PROT_READ | PROT_EXEC;
    case Access::ReadWriteExecute: return PROT_READ | PROT_WRITE | PROT_EXEC;
    }
    return PROT_NONE;
}

void* at(uint32_t address) { return reinterpret_cast<void*>(static_cast<uintptr_t>(address)); }

} // namespace

bool mapFixedRange(uint32_t begin, uint32_t end)
{
    void* p = mmap(at(begin), end - begin, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    if (p == MAP_FAILED)
        return false;
    if (p != at(begin)) { // an old kernel took the address as a hint only
        munmap(p, end - begin);
        return false;
    }
    return true;
}

void unmapFixedRange(uint32_t begin, uint32_t end) { munmap(at(begin), end - begin); }

bool setAccess(uint32_t begin, uint32_t end, Access access)
{
    return mprotect(at(begin), end - begin, prot(access)) == 0;
}

} // namespace sim
