#pragma once

#include "platform/callconv.h"

// Replaces the host's radio-display routine, a method of its radio object: after a station
// change the host reports, a strip of five station icons shows at the top of the screen for
// a while, the chosen station in the middle and its neighbours faded.
KH_THISCALL void DrawRadioHud(void* radio);
