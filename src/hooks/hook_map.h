#pragma once

#include "injector/patch_table.h"

// The fixed tables of host sites that lead the host's HUD and radar drawing to the plug-in.
// Each is written whole or not at all: the refusal names the first site that held
// something other than the table expects.
injector::PatchRefusal installHudHookMap();
injector::PatchRefusal installRadarHookMap();

// The tables themselves, made for this start-up's settings, for checking before anything
// is written.
injector::PatchTable hudHookMap();
injector::PatchTable radarHookMap();
