#pragma once

#include <cstdint>

// Heap allocations made by the plug-in's own code. The simulated build of the library is
// linked with its allocation functions wrapped (see CMakeLists.txt), and the wrappers,
// defined here in the host program, count every call before passing it on.

namespace sim {

uint32_t pluginHeapAllocations();
// Whether the count means anything: only the simulated build's library is linked with the
// wrappers, so the real DLL's allocations are not counted.
bool pluginHeapCounted();
void resetPluginHeapAllocations();

} // namespace sim
