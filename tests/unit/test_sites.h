#pragma once

#include <cstdint>
#include <vector>

#include "host_image.h"
#include "platform/address.h"
#include "platform/callconv.h"
#include "x86.h"

// Host routines of our own in free host code: each calls a host function from a site in its
// middle and afterwards reads its argument back from its own stack, so a call that leaves
// the stack unbalanced gives a wrong sum or a wrong return. (The padding keeps the callee's
// stack 16-byte aligned, as the sanitizers' frames expect.)

namespace test_sites {

// cdecl (a, b) -> hostAdd(a, b) + a
constexpr uint32_t cdeclRoutine = 0x401000, cdeclSite = cdeclRoutine + 11;
// cdecl (self, x) -> hostThiscall(self, x) + x, thiscall: the callee removes x
constexpr uint32_t thiscallRoutine = 0x401040, thiscallSite = thiscallRoutine + 11;
// jmp stubs to the two functions below
constexpr uint32_t cdeclHost = 0x401100, thiscallHost = 0x401110;

inline std::vector<std::vector<uint32_t>> hostCalls;

KH_CDECL inline uint32_t hostAdd(uint32_t a, uint32_t b)
{
    hostCalls.push_back({a, b});
    return a * 100 + b;
}

KH_THISCALL inline uint32_t hostThiscall(void* self, uint32_t x)
{
    hostCalls.push_back({addressOf(self), x});
    return 7000 + x;
}

inline void write(const sim::X86& code)
{
    auto size = static_cast<uint32_t>(code.bytes().size());
    sim::hostWrite(code.here() - size, code.bytes().data(), size);
}

inline std::vector<uint8_t> bytesAt(uint32_t address, uint32_t count)
{
    const uint8_t* p = reinterpret_cast<const uint8_t*>(uintptr_t{address});
    return {p, p + count};
}

inline void lay()
{
    sim::X86 cdeclCode(cdeclRoutine); // sub esp,4; push b; push a; call; add esp,12; add eax,[esp+4]
    cdeclCode.raw({0x83, 0xEC, 0x04}).pushStackArg(12).pushStackArg(12).call(cdeclHost).addEsp(12);
    write(cdeclCode.raw({0x03, 0x44, 0x24, 0x04}).ret());

    sim::X86 thiscallCode(thiscallRoutine); // mov ecx,[esp+4]; sub esp,8; push x; call; add esp,8; add eax,[esp+8]
    thiscallCode.raw({0x8B, 0x4C, 0x24, 0x04, 0x83, 0xEC, 0x08}).pushStackArg(16).call(thiscallHost).addEsp(8);
    write(thiscallCode.raw({0x03, 0x44, 0x24, 0x08}).ret());

    write(sim::X86(cdeclHost).jmp(addressOf(&hostAdd)));
    write(sim::X86(thiscallHost).jmp(addressOf(&hostThiscall)));
    hostCalls.clear();
}

inline uint32_t run(uint32_t routine, uint32_t a, uint32_t b)
{
    return reinterpret_cast<uint32_t(KH_CDECL*)(uint32_t, uint32_t)>(uintptr_t{routine})(a, b);
}

} // namespace test_sites
