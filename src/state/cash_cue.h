#pragma once

#include "core/input.h"
#include "host/host.h"

// The cash key, or the pad control that opens the cash window: it opens the window and
// zooms the radar out. While the radio display shows, the pad's control is the radio's,
// so only the key is left; without a pad, likewise. Inline: the radar zoom asks for every
// point it converts.
inline bool cashCued(const void* pad, bool radioShown)
{
    return keyDown(cashKey) || (pad && host::pad_cash_cue_field.of(pad) != 0 && !radioShown);
}
