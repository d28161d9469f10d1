#include "host/host.h"
#include "host_state.h"
#include "substitutes.h"
#include "trace.h"

// The host's text renderer: its settings persist until changed, and a print uses them.

namespace sim {

namespace {

KH_CDECL void textSetScale(float sx, float sy)
{
    hostState().text.scale = {sx, sy};
    trace::record("text_set_scale", SIM_CALLER(), trace::args(trace::number(sx), trace::number(sy)));
}

KH_CDECL void textSetColour(Colour c)
{
    hostState().text.colour = c;
    trace::record("text_set_colour", SIM_CALLER(), trace::args(trace::colour(c)));
}

KH_CDECL void textSetSecondColour(Colour c)
{
    hostState().text.secondColour = c;
    trace::record("text_set_second_colour", SIM_CALLER(), trace::args(trace::colour(c)));
}

KH_CDECL void textSetFont(int32_t font)
{
    hostState().text.font = font;
    trace::record("text_set_font", SIM_CALLER(), trace::args(font));
}

KH_CDECL void textSetAlignment(int32_t mode)
{
    hostState().text.alignment = mode;
    trace::record("text_set_alignment", SIM_CALLER(), trace::args(mode));
}

KH_CDECL void textSetModePair(int32_t a, int32_t b)
{
    hostState().text.modePair[0] = a;
    hostState().text.modePair[1] = b;
    trace::record("text_set_mode_pair", SIM_CALLER(), trace::args(a, b));
}

KH_CDECL void textSetFlagP(uint8_t v)
{
    hostState().text.flagP = v;
    trace::record("text_set_flag_p", SIM_CALLER(), trace::args(v));
}

KH_CDECL void textSetFlagQ(uint8_t v)
{
    hostState().text.flagQ = v;
    trace::record("text_set_flag_q", SIM_CALLER(), trace::args(v));
}

KH_CDECL void textSetFlagR(uint8_t v)
{
    hostState().text.flagR = v;
    trace::record("text_set_flag_r", SIM_CALLER(), trace::args(v));
}

KH_CDECL void textPrint(float x, float y, const char* text)
{
    trace::record("text_print", SIM_CALLER(), trace::args(trace::number(x), trace::number(y), trace::text(text)));
}

KH_CDECL void textPrintB(float x, float y, const char* text)
{
    trace::record("text_print_b", SIM_CALLER(), trace::args(trace::number(x), trace::number(y), trace::text(text)));
}

} // namespace

void registerTextSubstitutes()
{
    substitute(host::text_set_scale, &textSetScale);
    substitute(host::text_set_colour, &textSetColour);
    substitute(host::text_set_font, &textSetFont);
    substitute(host::text_set_alignment, &textSetAlignment);
    substitute(host::text_set_mode_pair, &textSetModePair);
    substitute(host::text_set_flag_p, &textSetFlagP);
    substitute(host::text_set_flag_q, &textSetFlagQ);
    substitute(host::text_set_flag_r, &textSetFlagR);
    substitute(host::text_print, &textPrint);
    substitute(host::text_print_b, &textPrintB);
    substitute(host::text_set_second_colour, &textSetSecondColour);
}

} // namespace sim
