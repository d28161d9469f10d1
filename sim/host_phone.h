#pragma once

#include <cstdint>

// The host's own progress bars, as machine code: each frame, for each bar of the scenario's
// `host_bars`, host code pushes the bar's ten stack words from its record in host memory
// (records::hostBars) and calls the host's progress-bar routine (host::progress_bar) as a
// cdecl call. The host passes floats as their 32-bit words, colours by value as 4-byte
// words, and its u16, u8 and i8 arguments widened into stack words whose upper bytes hold
// whatever was there (0xCC here), so a routine at that address must read only their low
// bits. Also the clock bytes the cellphone reads.

namespace sim {

class ImageWriter;
struct WorldState;

void writeHostBarCode(ImageWriter& image);
// Where the simulated host lays that code (its own choice, in the host's HUD code and clear
// of every site).
constexpr uint32_t hostBarCall = 0x58DB40;

// Host memory of the cellphone's clock and the host's bars; called from writeWorld.
void writePhoneWorld(const WorldState& world);
// The host draws its bars of this frame.
void reachHostBars();

// The stack words of one bar (floats as their bits, narrow integers with junk above).
struct HostBarState;
void hostBarWords(const HostBarState& bar, uint32_t words[10]);

} // namespace sim
