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

// A game out of memory: the plug-in's `n`-th allocation by new from now on (1: the next)
// throws std::bad_alloc, and only that one; 0: none fails. Counting starts again here.
void failPluginNewAt(uint32_t n);
// The plug-in's allocations by new since failPluginNewAt.
uint32_t pluginNewCalls();

} // namespace sim
