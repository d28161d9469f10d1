#pragma once

#include "host/types.h"
#include "platform/callconv.h"

// The box behind every boxed host text: the host's two calls of its box drawing come
// here with the host's arguments, a rectangle and a colour (both pointers, removed by the
// caller), and draw a flat translucent black box instead. The host's colour is not used.
KH_CDECL void DrawTextBoxBackground(const Rect* rect, const Colour* colour);
