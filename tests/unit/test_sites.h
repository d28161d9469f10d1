#pragma once

#include <cstdint>
#include <vector>

#include "host_image.h"
#include "platform/callconv.h"
#include "x86.h"

// Host code of our own in a free stretch of the host's code pages: two host routines that
// call a host function with arguments from a site in their middle, each checking its own
// stack after the call, and the host functions they call.

namespace test_sites {

// cdecl (a, b): calls the host function (a, b) at the site and returns its result plus a,
// read back from its own stack after the call, so a call that leaves the stack unbalanced
// gives a wrong sum or a wrong return. (Padding keeps the callee's stack 16-byte aligned,
// as the sanitizers' frames expect.)
constexpr uint32_t cdeclRoutine = 0x401000;
constexpr uint32_t cdeclSite = cdeclRoutine + 11;
// cdecl (self, x): calls the thiscall host function (self, x) at the site, the callee
// removing x, and returns its result plus x, read back the same way.
constexpr uint32_t thiscallRoutine = 0x401040;
constexpr uint32_t thiscallSite = thiscallRoutine + 11;
// The host functions: jmp stubs to hostAdd and hostThiscall below.
constexpr uint32_t cdeclHost = 0x401100;
constexpr uint32_t thiscallHost = 0x401110;

struct HostCall {
    uint32_t first;
    uint32_t second;
};
inline std::vector<HostCall> hostCalls;

KH_CDECL inline uint32_t hostAdd(uint32_t a, uint32_t b)
{
    hostCalls.push_back({a, b});
    return a * 100 + b;
}

KH_THISCALL inline uint32_t hostThiscall(void* self, uint32_t x)
{
    hostCalls.push_back({static_cast<uint32_t>(reinterpret_cast<uintptr_t>(self)), x});
    return 7000 + x;
}

template <class F>
uint32_t addressOf(F* f)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(f));
}

inline void write(const sim::X86& code)
{
    sim::hostWrite(code.here() - static_cast<uint32_t>(code.bytes().size()), code.bytes().data(),
                   static_cast<uint32_t>(code.bytes().size()));
}

// Lays the routines down in a freshly built host image.
inline void lay()
{
    sim::X86 cdeclCode(cdeclRoutine);
    cdeclCode.raw({0x83, 0xEC, 0x04}); // sub esp, 4
    cdeclCode.pushStackArg(12).pushStackArg(12).call(cdeclHost).addEsp(12);
    cdeclCode.raw({0x03, 0x44, 0x24, 0x04}).ret(); // add eax, [esp+4]
    write(cdeclCode);

    sim::X86 thiscallCode(thiscallRoutine);
    thiscallCode.raw({0x8B, 0x4C, 0x24, 0x04}); // mov ecx, [esp+4]
    thiscallCode.raw({0x83, 0xEC, 0x08});       // sub esp, 8
    thiscallCode.pushStackArg(16).call(thiscallHost).addEsp(8);
    thiscallCode.raw({0x03, 0x44, 0x24, 0x08}).ret(); // add eax, [esp+8]
    write(thiscallCode);

    sim::X86 stubs(cdeclHost);
    stubs.jmp(addressOf(&hostAdd));
    write(stubs);
    sim::X86 thiscallStub(thiscallHost);
    thiscallStub.jmp(addressOf(&hostThiscall));
    write(thiscallStub);
    hostCalls.clear();
}

inline uint32_t runCdeclRoutine(uint32_t a, uint32_t b)
{
    using Routine = uint32_t(KH_CDECL*)(uint32_t, uint32_t);
    return reinterpret_cast<Routine>(uintptr_t{cdeclRoutine})(a, b);
}

inline uint32_t runThiscallRoutine(uint32_t self, uint32_t x)
{
    using Routine = uint32_t(KH_CDECL*)(uint32_t, uint32_t);
    return reinterpret_cast<Routine>(uintptr_t{thiscallRoutine})(self, x);
}

} // namespace test_sites
