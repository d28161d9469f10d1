#pragma once

#include <cstdint>
#include <map>

// The host's render engine record: host::render_engine points to it, and its functions set
// and get render states by number. The simulated host keeps the states, so that what was
// left set can be seen.

namespace sim {

class ImageWriter;

// Lays the record and its two functions.
void writeRenderEngine(ImageWriter& image);

// host::render_engine points to the record from the host's renderer start to its shutdown
// and holds 0 before and after.
void startRenderEngine();
void stopRenderEngine();

// The states the host has set before the plug-in's first frame.
void setRenderStates(const std::map<int32_t, uint32_t>& initial);

// Every render state set so far, by number (a state never set reads as 0).
std::map<int32_t, uint32_t> renderStates();

// Where the simulated host lays the record's two functions (its own choice).
constexpr uint32_t renderStateSetCode = 0x7F9B00;
constexpr uint32_t renderStateGetCode = 0x7F9B20;

} // namespace sim
