#pragma once

#include <cstdint>

// The host's code around each site the plug-in patches, and the simulated host's way of
// reaching each site: by executing the host's instruction there, so that a redirected
// call or jump really runs the plug-in with the host's stack and registers.

namespace sim {

class ImageWriter;

void writeEventSites(ImageWriter& image);
// The host's instructions at the sites of the HUD and radar hook maps that no simulated
// routine executes (see host_routines.h for those that run).
void writeHookMapSites(ImageWriter& image);

// The host object on which the host's tail call at the draw-tail site is made.
constexpr uint32_t drawTailObject = 0xCFF000;
// The host's path object (route search).
constexpr uint32_t pathObject = 0xCFF100;

uintptr_t reachFrameProcess();
uintptr_t reachDraw();
uintptr_t reachDrawTail();
uintptr_t reachRadarDrawA(bool flag);
uintptr_t reachRadarDrawB(bool flag);
uintptr_t reachRendererStart();
// The host's renderer-start path, which reaches the renderer-start site.
void reachRendererStartPath();
// Where the simulated host lays that path (its own choice).
constexpr uint32_t rendererStartPath = 0x5BF3B0;
uintptr_t reachRendererShutdown();

} // namespace sim
