#include "app/toggle.h"

#include "state/plugin.h"
#include "host/host.h"
#include "platform/win32.h"

namespace {

constexpr int toggleKey = 0x7A; // F11
constexpr uint32_t debounceMs = 1000;

uint32_t lastToggleTime;

bool keyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

} // namespace

void pollToggleKey()
{
    // Host time, not wall time: while the host clock stands still, holding the key does
    // nothing more.
    uint32_t now = host::time_ms.get();
    // Elapsed time, so that the debounce holds across the host clock's wrap-around.
    if (!keyDown(toggleKey) || !(now - lastToggleTime > debounceMs))
        return;
    plugin.hudDisabled = !plugin.hudDisabled;
    lastToggleTime = now;
    host::show_help_message(plugin.hudDisabled ? "Kell Hud disabled" : "Kell Hud enabled", 1, 0, 1);
}
