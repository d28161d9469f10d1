#pragma once

#include <cstdint>

#include "injector/memory.h"
#include "platform/address.h"
#include "platform/callconv.h"

// Decoding and rewriting the branch instruction at a host site.

namespace injector {

// Where the call or jump at the site goes: E8/E9 rel32, or FF 15/FF 25 through a pointer.
// 0 for anything else, or when the site (or the pointer) cannot be read. It only reads
// what is readable as it stands, so it changes no protection.
[[nodiscard]] uint32_t branch_destination(uint32_t site);

// The five bytes of a call or jump rel32 from the site to the target.
void encode_branch(uint8_t (&bytes)[5], uint32_t site, uint8_t opcode, uint32_t target);

// What a redirection did: where the site went before, and whether its five bytes were
// written (under one protection scope; where it cannot open, the site is left alone).
struct [[nodiscard]] Redirection {
    uint32_t former;
    bool written;
};

// Write a call or jump rel32 to target over the five bytes at the site.
Redirection redirect_call(uint32_t site, uint32_t target);
Redirection redirect_jump(uint32_t site, uint32_t target);

// The address of a routine the host reaches, which uses the host's convention for results:
// see host_returnable.
template <class F>
uint32_t routine_address(F* routine)
{
    static_assert(host_returnable<typename host_function_result<F>::type>, "no structure results across the host boundary");
    return addressOf(routine);
}

template <class F>
Redirection redirect_call(uint32_t site, F* target)
{
    return redirect_call(site, routine_address(target));
}

template <class F>
Redirection redirect_jump(uint32_t site, F* target)
{
    return redirect_jump(site, routine_address(target));
}

} // namespace injector
