#pragma once

#include <cstdint>

#include "platform/callconv.h"

// What the font set leads the host's text code to.

// Stands for both of the host's text flag setters: the host's three flag bytes from one
// value (two follow it, the third is always cleared).
KH_CDECL void SetFontFlags(uint8_t value);

// The unit the host's text code measures with instead of its own, read by address: it
// must stay where it is for as long as the host runs.
extern const float fontUnit;
