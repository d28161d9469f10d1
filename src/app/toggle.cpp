#include "app/toggle.h"

#include "state/plugin.h"
#include "core/input.h"
#include "host/host.h"

namespace {

constexpr uint32_t debounceMs = 1000;

uint32_t lastToggleTime;

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
