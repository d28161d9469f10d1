#pragma once

#include <cstdint>

// The x86 opcodes the patch engine writes and recognises at host sites.

namespace injector::opcode {

constexpr uint8_t call = 0xE8;      // call rel32
constexpr uint8_t jump = 0xE9;      // jmp rel32
constexpr uint8_t shortJump = 0xEB; // jmp rel8
constexpr uint8_t nop = 0x90;

// The conditional short jumps (jo rel8 .. jg rel8).
constexpr uint8_t firstConditionalShortJump = 0x70;
constexpr uint8_t lastConditionalShortJump = 0x7F;

} // namespace injector::opcode
