#pragma once

#include "platform/callconv.h"

// The host's help box, kept as the host runs it: its state, fade and timer live in host
// variables and are advanced here, so the rest of the host sees the usual behaviour; the
// message is drawn in this style's place, scale and colours. The host's call to its own
// help-box routine comes here.
KH_CDECL void DrawHelpBox();
