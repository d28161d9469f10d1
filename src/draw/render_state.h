#pragma once

#include <cstdint>

// The host's render states, set and read by the host's own numbers through the functions of
// its render engine record. The numbers and values are the host's; the radar passes them
// as they stand.
void setRenderState(int32_t state, uint32_t value);

// States the radar code names.
constexpr int32_t renderStateTextureFilter = 5;
constexpr int32_t renderStateSourceBlend = 10;
constexpr int32_t renderStateBlendEnable = 12;
uint32_t renderState(int32_t state);
