#pragma once

#include <cstdint>

// One host call site led to a dispatcher of the plug-in for as long as the object lives: it
// keeps the site's five bytes and where the site went before, and puts the bytes back when
// it goes. Moving hands the site over, so the bytes go back once.

namespace injector {

class SiteHook {
public:
    SiteHook() = default;
    // Keeps the site's bytes (under a protection scope: where that fails there is nothing
    // to put back) and redirects the site's call to the dispatcher.
    SiteHook(uint32_t site, uint32_t dispatcher);
    SiteHook(SiteHook&& other) noexcept;
    SiteHook& operator=(SiteHook&& other) noexcept;
    ~SiteHook() { restore(); }

    // The destination the site had before (0: none known).
    uint32_t former_destination() const { return former; }
    bool is_saved() const { return saved; }
    // Puts the kept bytes back, once.
    void restore();

private:
    uint32_t site = 0;
    uint8_t original[5] = {};
    bool saved = false;
    uint32_t former = 0;
};

} // namespace injector
