#include "hud/help_box.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "state/plugin.h"
#include "data/placement.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "host/text_style.h"
#include "draw/hud_style.h"

namespace {

// The host's states of the box.
enum HelpState : int32_t { Idle = 0, Shown = 1, FadingIn = 2, FadingOut = 3, FadingBeforeNew = 4 };

constexpr int32_t fullFade = 600;
constexpr int32_t quickMs = 3000;
constexpr int32_t msPerLine = 1000;
constexpr int32_t extraLines = 3;
constexpr int32_t newMessageSound = 32;
// The host's default box width, which stands for a box of the style's own width.
constexpr float defaultBoxWidth = 200.0f;

char* helpText() { return static_cast<char*>(host::help_text.pointer()); }
char* lastText() { return static_cast<char*>(host::help_last_text.pointer()); }
char* shownText() { return static_cast<char*>(host::help_shown_text.pointer()); }

// Into one of the host's 400-byte help strings: at most 399 characters, always
// terminated, and never more than 400 bytes read from the host's text, which need not be
// terminated. A longer message is cut.
void copyHelpText(char* to, const char* from)
{
    uint32_t n = 0;
    for (; n + 1 < host::help_text_size && from[n] != '\0'; ++n)
        to[n] = from[n];
    to[n] = '\0';
}

// The integer part of a value that the host's state or frame time may have put anywhere:
// held at the ends of the 32-bit range, and 0 for a NaN.
int32_t wholeInt32(double v)
{
    if (std::isnan(v))
        return 0;
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

// Milliseconds of this frame, from the host's frame step.
double frameTime() { return static_cast<double>(host::time_step.get()) * 0.02 * 1000.0; }

float fadeAlpha(int32_t fade) { return static_cast<float>(fade * 0.001 * 200.0); }

uint8_t boxAlpha(float alpha) { return static_cast<uint8_t>(wholeInt32(alpha) & 0xFF); }

// The help text's style while its lines are counted.
void setMeasureStyle(const ScreenScale& unit)
{
    host::text_set_align(host::Align::Left);
    host::text_set_justified(false);
    host::text_set_width_c(unit.scale(362));
    host::text_set_font(1);
    host::text_set_box(host::TextBox::ToLineWidth);
    host::text_set_outline(1);
    host::text_set_second_colour(hudColour(HUD_COLOUR_BLACK, 255));
    host::text_set_colour(hudColour(HUD_COLOUR_PURE_WHITE, 255));
}

void setMessageStyle(float lineWidth, float alpha)
{
    host::text_set_align(host::Align::Left);
    host::text_set_justified(false);
    host::text_set_width_c(lineWidth);
    host::text_set_font(1);
    host::text_set_box(host::TextBox::ToLineWidth);
    host::text_set_outline(1);
    host::text_set_box_colour(makeColour(0, 0, 0, boxAlpha(alpha)));
    host::text_set_colour(hudColour(HUD_COLOUR_PURE_WHITE, 255));
    host::text_set_second_colour(hudColour(HUD_COLOUR_BLACK, 255));
}

// A message shown for the first time: fade in from nothing, with its line count and the
// host's sound. The count is the host's, so it is held to the 32-bit range.
void showNewMessage(const char* text, const ScreenScale& unit)
{
    host::help_state.set(FadingIn);
    host::help_elapsed.set(0);
    host::help_fade.set(0);
    copyHelpText(shownText(), text);
    setMeasureStyle(unit);
    const int64_t lines = int64_t{host::text_line_count(unit.pixels(34), unit.pixels(28), shownText())} + extraLines;
    host::help_lines.set(wholeInt32(static_cast<double>(lines)));
    host::text_set_width_c(unit.width);
    host::play_sound(newMessageSound, 0, 1.0f);
}

void takeMessage(const char* text, const ScreenScale& unit)
{
    const int32_t state = host::help_state.get();
    if (state == Idle) {
        showNewMessage(text, unit);
    } else if (state >= Shown && state <= FadingBeforeNew) {
        // The old message fades out first.
        host::help_state.set(FadingBeforeNew);
        host::help_elapsed.set(5);
    }
    copyHelpText(lastText(), text);
}

bool shownLongEnough()
{
    if (host::help_permanent.get())
        return false;
    const int64_t elapsed = host::help_elapsed.get();
    return elapsed > int64_t{host::help_lines.get()} * msPerLine || (host::help_quick.get() && elapsed > quickMs);
}

// One frame of the host's state machine. False while idle (nothing to draw); `alpha` is
// what the box is drawn with.
bool advance(double delta, float& alpha)
{
    alpha = 170.0f;
    const int32_t fade = host::help_fade.get();
    switch (host::help_state.get()) {
    case Idle:
        return false;
    case Shown:
        alpha = 255.0f;
        host::help_fade.set(fullFade);
        if (shownLongEnough())
            host::help_state.set(FadingOut);
        break;
    case FadingIn: {
        if (host::hud_block_flag_c.get())
            break;
        int32_t next = wholeInt32(fade + 2.0 * delta);
        if (next > 0) {
            next = 0;
            host::help_state.set(Shown);
        }
        host::help_fade.set(next);
        alpha = fadeAlpha(next);
        break;
    }
    case FadingOut: {
        int32_t next = wholeInt32(fade - 2.0 * delta);
        if (next < 0 || host::hud_block_flag_c.get()) {
            next = 0;
            host::help_state.set(Idle);
        }
        host::help_fade.set(next);
        alpha = fadeAlpha(next);
        break;
    }
    case FadingBeforeNew: {
        int32_t next = wholeInt32(fade - 2.0 * delta);
        if (next < 0) {
            next = 0;
            host::help_state.set(FadingIn);
            copyHelpText(shownText(), lastText()); // counted when it first came
        }
        host::help_fade.set(next);
        alpha = fadeAlpha(next);
        break;
    }
    default:
        break;
    }
    return true;
}

// "STAT" and the statistic in at least three digits, cut to the host's 16 bytes whatever
// the number (a negative or long one does not fit).
void writeStatKey(int32_t stat)
{
    char formatted[32];
    if (stat < 10)
        std::snprintf(formatted, sizeof formatted, "STAT00%d", stat);
    else if (stat < 100)
        std::snprintf(formatted, sizeof formatted, "STAT0%d", stat);
    else
        std::snprintf(formatted, sizeof formatted, "STAT%d", stat);
    char key[host::stat_key_text_size] = {};
    std::memcpy(key, formatted, strnlen(formatted, sizeof key - 1));
    std::memcpy(host::stat_key_text.pointer(), key, sizeof key);
}

float messageTop(const ScreenScale& unit) { return unit.pixels((150.0f - host::help_box_offset.get()) * 0.6f); }

// A statistic's name from the host's text table, then the change text beside it; a
// falling value ('-') sits 5 units higher.
void drawStatMessage(const LayoutBox& hm, const Shift& shift, int32_t stat, float alpha, const ScreenScale& unit)
{
    writeStatKey(stat);
    setMessageStyle(unit.width, alpha);
    const char* name = host::text_lookup(host::text_table.pointer(), static_cast<const char*>(host::stat_key_text.pointer()));
    const float x0 = hm.x - 6.0f;
    // The wrap edges are screen positions: an anchor moves them with the text.
    const float nameEnd = shift.atX(host::text_width(name, 1, 0) + unit.scale(x0) + 4.0f);
    host::text_set_width_c(unit.scale(164) + nameEnd + 4.0f);
    host::text_print(shift.atX(unit.pixels(x0) + 4.0f), shift.atY(unit.pixels(hm.y) + messageTop(unit)), name);
    host::text_set_colour(hudColour(HUD_COLOUR_PURE_WHITE, 255));
    const char* change = shownText();
    const float y = shift.atY(change[0] == '-' ? unit.pixels(hm.y - 5.0f) : unit.pixels(hm.y));
    host::text_print(nameEnd + unit.pixels(155), y, change);
    host::text_set_width_c(unit.width);
}

void drawMessage(const LayoutBox& hm, const Shift& shift, float alpha, const ScreenScale& unit)
{
    const float hostWidth = host::help_box_width.get();
    const float width = hostWidth == defaultBoxWidth ? hm.x + 416.0f + 6.0f : hostWidth + 6.0f + hm.x;
    setMessageStyle(shift.atX(unit.scale(width) - 4.0f), alpha);
    host::text_print(shift.atX(unit.pixels(hm.x - 6.0f) + 4.0f), shift.atY(messageTop(unit) + unit.pixels(hm.y)),
                     shownText());
    host::text_set_width_c(unit.width);
}

} // namespace

KH_CDECL void DrawHelpBox()
{
    if (plugin.hudDisabled)
        return;
    const ScreenScale unit;
    const char* text = helpText();
    if (text[0] == '\0') {
        host::help_state.set(Idle);
        return;
    }
    // 399, not the strings' 400: a message too long for them is kept cut to 399
    // characters, and would otherwise never equal itself and come back in every frame.
    if (!host::text_equal(text, lastText(), static_cast<int32_t>(host::help_text_size - 1)))
        takeMessage(text, unit);

    const double delta = frameTime();
    float alpha = 0.0f;
    if (!advance(delta, alpha) || host::help_hide_flag.get())
        return;
    host::help_elapsed.set(wholeInt32(host::help_elapsed.get() + delta));

    const LayoutBox& hm = plugin.layout.records[HUD_HELP_MESSAGE];
    const Shift shift = shiftOf(plugin.layout, HUD_HELP_MESSAGE, unit);
    host::text_set_alpha(alpha);
    host::text_set_proportional(true);
    host::text_set_scale(unit.scale(hm.w), unit.scale(hm.h));
    const int32_t stat = host::help_stat_id.get();
    if (stat != 0) {
        if (!host::hud_block_flag_c.get())
            drawStatMessage(hm, shift, stat, alpha, unit);
    } else if (!host::help_block_a.get() && !host::help_block_b.get() && !host::help_block_c.get()) {
        drawMessage(hm, shift, alpha, unit);
    }
    host::text_set_alpha(255.0f);
}
