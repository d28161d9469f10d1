#include "injector/site_hook.h"

#include <cstring>
#include <utility>

#include "injector/branch.h"
#include "injector/protection.h"

namespace injector {

namespace {

void* pointerTo(uint32_t address) { return reinterpret_cast<void*>(uintptr_t{address}); }

} // namespace

SiteHook::SiteHook(uint32_t site, uint32_t dispatcher) : site(site)
{
    {
        ProtectionScope scope(site, sizeof original);
        if (scope.changed)
            std::memcpy(original, pointerTo(site), sizeof original);
        saved = scope.changed;
    }
    former = redirect_call(site, dispatcher);
}

SiteHook::SiteHook(SiteHook&& other) noexcept
    : site(other.site), saved(std::exchange(other.saved, false)), former(other.former)
{
    std::memcpy(original, other.original, sizeof original);
}

SiteHook& SiteHook::operator=(SiteHook&& other) noexcept
{
    if (this != &other) {
        restore();
        site = other.site;
        std::memcpy(original, other.original, sizeof original);
        saved = std::exchange(other.saved, false);
        former = other.former;
    }
    return *this;
}

void SiteHook::restore()
{
    if (!saved)
        return;
    ProtectionScope scope(site, sizeof original);
    if (scope.changed)
        std::memcpy(pointerTo(site), original, sizeof original);
    saved = false;
}

} // namespace injector
