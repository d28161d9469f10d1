#include <cstring>
#include <string>

#include "host/host.h"
#include "host_state.h"
#include "preview/draw_list.h"
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

KH_CDECL void textSetFlagS(uint8_t v)
{
    hostState().text.flagS = v;
    trace::record("text_set_flag_s", SIM_CALLER(), trace::args(v));
}

KH_CDECL void textSetAlpha(float alpha)
{
    hostState().text.alpha = alpha;
    trace::record("text_set_alpha", SIM_CALLER(), trace::args(trace::number(alpha)));
}

KH_CDECL void textSetBoxColour(Colour c)
{
    hostState().text.boxColour = c;
    trace::record("text_set_box_colour", SIM_CALLER(), trace::args(trace::colour(c)));
}

KH_CDECL void textSetWidthA(float width)
{
    hostState().text.widthA = width;
    trace::record("text_set_width_a", SIM_CALLER(), trace::args(trace::number(width)));
}

KH_CDECL void textSetWidthB(float width)
{
    hostState().text.widthB = width;
    trace::record("text_set_width_b", SIM_CALLER(), trace::args(trace::number(width)));
}

KH_CDECL void textSetWidthC(float width)
{
    hostState().text.widthC = width;
    trace::record("text_set_width_c", SIM_CALLER(), trace::args(trace::number(width)));
}

// A key the table does not hold looks up to the key itself, so a missing text still shows
// which key was asked for.
KH_THISCALL const char* textLookup(void*, const char* key)
{
    const auto& texts = hostState().texts;
    auto found = texts.find(key);
    const char* text = found == texts.end() ? key : found->second.c_str();
    trace::record("text_lookup", SIM_CALLER(), trace::args(trace::text(key)));
    return text;
}

// The host's measures, simple and deterministic: a character is 10 pixels wide at text
// scale 1, and a line holds as many characters as fit between x and the line width set
// last by text_set_width_c (at least one).
constexpr float characterWidth = 10.0f;

KH_CDECL float textWidth(const char* text, uint8_t a, uint8_t b)
{
    float width = static_cast<float>(std::strlen(text)) * hostState().text.scale.x * characterWidth;
    trace::record("text_width", SIM_CALLER(), trace::args(trace::text(text), a, b), trace::number(width));
    return width;
}

KH_CDECL int32_t textLineCount(float x, float y, const char* text)
{
    float room = (hostState().text.widthC - x) / characterWidth;
    size_t perLine = room >= 1.0f && room < 1e6f ? static_cast<size_t>(room) : 1;
    size_t length = std::strlen(text);
    auto lines = static_cast<int32_t>((length + perLine - 1) / perLine);
    trace::record("text_line_count", SIM_CALLER(), trace::args(trace::number(x), trace::number(y), trace::text(text)),
                  lines);
    return lines;
}

// The host's compare reads no further than `length` bytes of either text, terminated or
// not; the trace shows that much of each.
KH_CDECL bool textEqual(const char* a, const char* b, int32_t length)
{
    size_t n = length > 0 ? static_cast<size_t>(length) : 0;
    bool equal = std::strncmp(a, b, n) == 0;
    std::string shownA(a, strnlen(a, n)), shownB(b, strnlen(b, n));
    trace::record("text_equal", SIM_CALLER(),
                  trace::args(trace::text(shownA.c_str()), trace::text(shownB.c_str()), length), equal);
    return equal;
}

// Copies the whole text, as the host's own copy does: keeping within the buffer is the
// caller's concern.
KH_CDECL void textCopy(char* to, const char* from)
{
    trace::record("text_copy", SIM_CALLER(), trace::args(trace::text(from)));
    std::strcpy(to, from);
}

KH_CDECL void textPrint(float x, float y, const char* text)
{
    trace::record("text_print", SIM_CALLER(), trace::args(trace::number(x), trace::number(y), trace::text(text)));
    preview::recordText(x, y, text, false);
}

KH_CDECL void textPrintB(float x, float y, const char* text)
{
    trace::record("text_print_b", SIM_CALLER(), trace::args(trace::number(x), trace::number(y), trace::text(text)));
    preview::recordText(x, y, text, true);
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
    substitute(host::text_set_flag_s, &textSetFlagS);
    substitute(host::text_set_alpha, &textSetAlpha);
    substitute(host::text_set_box_colour, &textSetBoxColour);
    substitute(host::text_set_width_a, &textSetWidthA);
    substitute(host::text_set_width_b, &textSetWidthB);
    substitute(host::text_set_width_c, &textSetWidthC);
    substitute(host::text_lookup, &textLookup);
    substitute(host::text_width, &textWidth);
    substitute(host::text_line_count, &textLineCount);
    substitute(host::text_equal, &textEqual);
    substitute(host::text_copy, &textCopy);
}

} // namespace sim
