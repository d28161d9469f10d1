#pragma once

#include "injector/patch_table.h"

// The fixed tables of host sites that lead the host's HUD and radar drawing to the plug-in,
// made for this start-up's settings; the start-up checks them, then writes them.
injector::PatchTable hudHookMap();
injector::PatchTable radarHookMap();
