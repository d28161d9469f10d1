#include "state/cash_cue.h"

#include "core/input.h"
#include "host/host.h"

bool cashCued(const void* pad, bool radioShown)
{
    return keyDown(cashKey) || (pad && host::pad_cash_cue_field.of(pad) != 0 && !radioShown);
}
