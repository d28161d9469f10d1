#pragma once

#include <cstdint>

#include "core/settings.h"
#include "data/colours.h"
#include "data/layout.h"
#include "state/hud_state.h"

// The one plug-in object. A plain global: zero before the start-up runs, filled once by it.
struct HudPlugin {
    HudSettings settings;
    HudLayout layout;
    HudColourTable colours;
    bool hudDisabled; // the display is switched off by the hot key
    HudElementState hudState;
};

extern HudPlugin plugin;

// The host's path object, copied once at load from host::object_ref_slot.
extern uint32_t hostObjectRef;
