#include "hooks/font_routines.h"

#include "host/host.h"

const float fontUnit = 1.0f / 1024.0f;

KH_CDECL void SetFontFlags(uint8_t value)
{
    const uint8_t on = value ? 1 : 0;
    host::text_flag_byte_c.set(0);
    host::text_flag_byte_a.set(on);
    host::text_flag_byte_b.set(on);
}
