#pragma once

#include <cstddef>
#include <cstdint>

// Numbers as the HUD prints them: a prefix, then a '-' for a negative value, then its
// decimal digits. Any difference of two 32-bit values fits in numberTextSize bytes.
constexpr size_t numberTextSize = 12;

// Writes the text into out[0..size), size at least 1; a text that does not fit is cut,
// never overrun.
void writeNumber(char* out, size_t size, const char* prefix, int64_t value);
