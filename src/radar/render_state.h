#pragma once

#include <cstdint>

// The host's render states, set and read by the host's own numbers through the functions of
// its render engine record. The numbers and values are the host's; the radar passes them
// as they stand.
void setRenderState(int32_t state, uint32_t value);
uint32_t renderState(int32_t state);
