#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace injector {

// Makes a span of host code writable for as long as the scope lives. When the change
// fails (a page the host does not have), nothing was changed, so nothing is put back, and
// the caller must not touch the span.
struct ProtectionScope {
    uint32_t start;
    uint32_t length;
    DWORD oldProtection;
    bool changed;

    ProtectionScope(uint32_t start, uint32_t length);
    ~ProtectionScope();
    ProtectionScope(const ProtectionScope&) = delete;
    ProtectionScope& operator=(const ProtectionScope&) = delete;
};

} // namespace injector
