#pragma once

#include <cstdint>

#include "injector/opcodes.h"

// One host call site led to a dispatcher of the plug-in for as long as the object lives: it
// keeps the site's five bytes and where the site went before, and puts the bytes back when
// it goes. Moving hands the site over, so the bytes go back once.

namespace injector {

class SiteHook {
public:
    SiteHook() = default;
    // Keeps the site's bytes and writes a call (or, for a site the host jumps from, a jump)
    // to the dispatcher over them, under one protection scope: where that fails the site is
    // left alone, and there is nothing to put back.
    SiteHook(uint32_t site, uint32_t dispatcher, uint8_t branch = opcode::call);
    SiteHook(SiteHook&& other) noexcept;
    SiteHook& operator=(SiteHook&& other) noexcept;
    ~SiteHook();

    // The destination the site had before (0: none known).
    uint32_t former_destination() const { return former; }
    // Whether the site is led to the dispatcher, with its bytes kept.
    bool is_saved() const { return saved; }
    // Puts the kept bytes back, once. False when they were kept but could not be put back.
    [[nodiscard]] bool restore();

private:
    uint32_t site = 0;
    uint8_t original[5] = {};
    bool saved = false;
    uint32_t former = 0;
};

} // namespace injector
