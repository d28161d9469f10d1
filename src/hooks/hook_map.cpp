#include "hooks/hook_map.h"

// Each row of the maps is written together with the routine it leads to; a map with no
// routine built yet patches nothing.

void installHudHookMap() {}

void installRadarHookMap() {}
