#pragma once

#include <cstdint>

// Byte access to host code. Each access makes exactly its own bytes writable for its
// duration, under one protection scope; where that fails the bytes are left alone and the
// access says so: a write returns false, a read gives 0.

namespace injector {

// Copy between host memory and a buffer under a scope over [address, address + size).
// Return false, having copied nothing, when the scope could not be opened. A write given
// `previous` copies what stood there into it first, under the same scope.
[[nodiscard]] bool read_bytes(uint32_t address, void* out, uint32_t size);
[[nodiscard]] bool write_bytes(uint32_t address, const void* bytes, uint32_t size, void* previous = nullptr);

[[nodiscard]] uint8_t read_u8(uint32_t address);
[[nodiscard]] uint32_t read_u32(uint32_t address);
[[nodiscard]] bool write_u8(uint32_t address, uint8_t value);
[[nodiscard]] bool write_u32(uint32_t address, uint32_t value);
// A count of 0 changes nothing, and succeeds.
[[nodiscard]] bool fill_nop(uint32_t address, uint32_t count);

} // namespace injector
