#pragma once

#include <cstdint>

// Byte access to host code. Each access makes exactly its own bytes writable for its
// duration; where that fails the bytes are left alone: a write does nothing, a read gives 0.

namespace injector {

// Copy between host memory and a buffer under a scope over [address, address + size).
// Return false, having copied nothing, when the scope could not be opened.
bool read_bytes(uint32_t address, void* out, uint32_t size);
bool write_bytes(uint32_t address, const void* bytes, uint32_t size);

uint8_t read_u8(uint32_t address);
uint32_t read_u32(uint32_t address);
void write_u8(uint32_t address, uint8_t value);
void write_u32(uint32_t address, uint32_t value);
void fill_nop(uint32_t address, uint32_t count);

} // namespace injector
