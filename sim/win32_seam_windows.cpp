// The Windows side of the seam: the plug-in calls the real system functions, so the
// simulated host only sets what they report.

#include <windows.h>

#include "plugin_heap.h"
#include "system.h"

namespace sim {

// GetKeyState reads the thread's keyboard state: the keys the scenario holds, and the
// toggles their presses left.
void keyboardChanged(const SystemState& state)
{
    BYTE keys[256] = {};
    for (int key : state.keysDown)
        if (key >= 0 && key < 256)
            keys[key] |= 0x80;
    for (int key : state.keysToggled)
        if (key >= 0 && key < 256)
            keys[key] |= 0x01;
    SetKeyboardState(keys);
}

// The real DLL's allocations go to its own runtime, which the host cannot count.
uint32_t pluginHeapAllocations() { return 0; }
void resetPluginHeapAllocations() {}
bool pluginHeapCounted() { return false; }
void failPluginNewAt(uint32_t) {}
uint32_t pluginNewCalls() { return 0; }

} // namespace sim
