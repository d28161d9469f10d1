#include "injector/site_hook.h"

#include <cstring>
#include <utility>

#include "injector/branch.h"
#include "injector/memory.h"

namespace injector {

SiteHook::SiteHook(uint32_t site, uint32_t dispatcher, uint8_t branch) : site(site)
{
    former = branch_destination(site);
    uint8_t bytes[5];
    encode_branch(bytes, site, branch, dispatcher);
    saved = write_bytes(site, bytes, sizeof bytes, original);
}

SiteHook::SiteHook(SiteHook&& other) noexcept
    : site(other.site), saved(std::exchange(other.saved, false)), former(other.former)
{
    std::memcpy(original, other.original, sizeof original);
}

SiteHook& SiteHook::operator=(SiteHook&& other) noexcept
{
    if (this != &other) {
        // (a site that cannot be put back stays as it is: nothing else could be done)
        static_cast<void>(restore());
        site = other.site;
        std::memcpy(original, other.original, sizeof original);
        saved = std::exchange(other.saved, false);
        former = other.former;
    }
    return *this;
}

SiteHook::~SiteHook() { static_cast<void>(restore()); }

bool SiteHook::restore()
{
    if (!saved)
        return true;
    saved = false;
    return write_bytes(site, original, sizeof original);
}

} // namespace injector
