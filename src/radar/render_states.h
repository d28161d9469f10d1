#pragma once

#include <cstdint>

// The radar's drawing sets the host's render states through the host's render engine
// record; the states the radar code sets, by number.

constexpr int32_t renderStateTextureFilter = 5;
constexpr int32_t renderStateSourceBlend = 10;
constexpr int32_t renderStateBlendEnable = 12;

// Calls the engine's state setter (host::render_engine + render_engine_set).
void setHostRenderState(int32_t state, uint32_t value);
