#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

// A tiny x86 emitter for the simulated host's stubs and site instructions.

namespace sim {

class X86 {
public:
    explicit X86(uint32_t origin) : origin(origin) {}

    uint32_t here() const { return origin + static_cast<uint32_t>(code.size()); }
    const std::vector<uint8_t>& bytes() const { return code; }

    X86& raw(std::initializer_list<uint8_t> b)
    {
        code.insert(code.end(), b);
        return *this;
    }
    X86& imm32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            code.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    X86& call(uint32_t target) { return rel32(0xE8, target); }
    X86& jmp(uint32_t target) { return rel32(0xE9, target); }
    X86& ret() { return raw({0xC3}); }
    X86& retN(uint16_t n) { return raw({0xC2, static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8)}); }
    X86& pushImm(uint32_t v) { return raw({0x68}).imm32(v); }
    // push dword [esp + offset]
    X86& pushStackArg(uint8_t offset) { return raw({0xFF, 0x74, 0x24, offset}); }
    X86& addEsp(uint8_t n) { return raw({0x83, 0xC4, n}); }
    X86& int3() { return raw({0xCC}); }
    // push dword [address]
    X86& pushMem(uint32_t address) { return raw({0xFF, 0x35}).imm32(address); }
    X86& pushEax() { return raw({0x50}); }
    // mov [address], eax
    X86& storeEax(uint32_t address) { return raw({0xA3}).imm32(address); }
    // mov ecx, imm32 (the object pointer of a thiscall)
    X86& movEcx(uint32_t v) { return raw({0xB9}).imm32(v); }
    // mov eax, imm32
    X86& movEax(uint32_t v) { return raw({0xB8}).imm32(v); }
    // push imm8, sign-extended to a stack word (a byte argument)
    X86& pushImm8(uint8_t v) { return raw({0x6A, v}); }
    // mov dword [esp + offset], imm32: 8 bytes
    X86& movStackImm32(uint8_t offset, uint32_t v) { return raw({0xC7, 0x44, 0x24, offset}).imm32(v); }
    // mov dword [address], ecx: 6 bytes
    X86& movMemEcx(uint32_t address) { return raw({0x89, 0x0D}).imm32(address); }
    // fld dword [address]: 6 bytes, the operand's address in the last four
    X86& fldMem(uint32_t address) { return raw({0xD9, 0x05}).imm32(address); }
    // fstp st(0): drops the value loaded
    X86& fpop() { return raw({0xDD, 0xD8}); }
    // je short: a conditional jump over the next `distance` bytes
    X86& jeShort(uint8_t distance) { return raw({0x74, distance}); }
    // Marks where a host site must lie: the code emitted so far has to end exactly there,
    // or the host's instruction would not be at its address.
    X86& site(uint32_t address)
    {
        if (here() != address) {
            std::fprintf(stderr, "kellhud-sim: host code reaches 0x%X where its site 0x%X is\n", here(), address);
            std::abort();
        }
        return *this;
    }
    X86& nops(uint32_t n)
    {
        code.insert(code.end(), n, 0x90);
        return *this;
    }

private:
    X86& rel32(uint8_t opcode, uint32_t target)
    {
        uint32_t next = here() + 5;
        code.push_back(opcode);
        return imm32(target - next);
    }

    uint32_t origin;
    std::vector<uint8_t> code;
};

} // namespace sim
