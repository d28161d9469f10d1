#include "injector/protection.h"

#include "platform/address.h"

namespace injector {

ProtectionScope::ProtectionScope(uint32_t start, uint32_t length)
    : start(start), length(length), oldProtection(0), changed(false)
{
    if (length != 0)
        changed = VirtualProtect(pointerTo(start), length, PAGE_EXECUTE_READWRITE, &oldProtection) != FALSE;
}

ProtectionScope::~ProtectionScope()
{
    if (!changed)
        return;
    DWORD discarded = 0; // Windows insists on somewhere to put it
    VirtualProtect(pointerTo(start), length, oldProtection, &discarded);
}

} // namespace injector
