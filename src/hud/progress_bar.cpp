#include "hud/progress_bar.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "data/screen_unit.h"
#include "draw/hud_style.h"
#include "host/host.h"
#include "host/text_style.h"

namespace {

// The integer part, kept as a float so that no value is out of range. Every caller moves
// it by a non-zero amount, so a -0 would give the same as the 0 it gives.
float whole(float v) { return wholePart(v); }

void fill(float left, float top, float right, float bottom, const Colour& colour)
{
    Rect rect;
    host::make_rect(&rect, left, top, right, bottom);
    host::fill_rect(&rect, &colour);
}

// One text for every bar: nothing per frame is allocated.
char percentText[percentTextSize];

void printPercent(float x, float y, uint16_t width, uint8_t height, float percent, const Colour& colour1)
{
    formatPercent(percentText, sizeof percentText, percent);
    host::text_set_width_c(screenWidth());
    host::text_set_width_b(0);
    host::text_set_colour(Colour{0, 0, 0, colour1.a});
    host::text_set_outline(0);
    host::text_set_font(1);
    host::text_set_scale(0.035f * height, 0.05f * height);
    // Past half way the text ends at the fill's end, otherwise it starts just after it.
    float end = x + width * percent / 100;
    if (percent > 50) {
        host::text_set_align(host::Align::Right);
        host::text_print(end, y, percentText);
    } else {
        host::text_set_align(host::Align::Left);
        host::text_print(end + 5, y, percentText);
    }
}

} // namespace

void formatPercent(char* out, uint32_t size, float percent)
{
    int value = 0;
    if (std::isnan(percent))
        value = 0;
    else if (percent >= 2147483648.0f)
        value = INT_MAX;
    else if (percent <= -2147483648.0f)
        value = INT_MIN;
    else
        value = static_cast<int>(percent);
    std::snprintf(out, size, "%d%%", value);
}

void DrawBarFill(float x, float y, float w, float h, float percent, float segment, const Colour& colour1,
                 const Colour& colour2)
{
    float p = percent;
    if (p >= 100) {
        p = 100;
    } else {
        // A background of half the fill's alpha.
        fill(whole(x) - 0.5f, whole(y) - 0.5f, whole(x + w) - 0.5f, whole(y + h) - 3,
             Colour{colour1.r, colour1.g, colour1.b, static_cast<uint8_t>(colour1.a >> 1)});
    }
    float end = whole(x + w * p / 100) - 0.5f;
    if (p > 0)
        fill(whole(x) - 0.5f, whole(y) - 0.5f, end, whole(y + h) - 3, colour1);
    // The second segment reaches back from the fill's end, on top of it and 2.5 px taller.
    if (segment > 0) {
        float back = segment < 100 ? segment : 100;
        fill(whole(x + w * p / 100 - w * back / 100) - 0.5f, whole(y) - 0.5f, end, whole(y + h) - 0.5f, colour2);
    }
}

KH_CDECL void DrawProgressBar(float x, float y, uint16_t width, uint8_t height, float percent, int8_t segment,
                              uint8_t showText, uint8_t frame, Colour colour1, Colour colour2)
{
    // The frame shows 2 px left, above and right of the bar; its bottom lies inside it.
    if (frame)
        fill(whole(x - 2) - 0.5f, whole(y - 2) - 0.5f, whole(x + width + 2) - 0.5f, whole(y + height - 1) - 0.5f,
             Colour{0, 0, 0, 255});
    DrawBarFill(x, y, width, height, percent, segment, colour1, colour2);
    if (showText)
        printPercent(x, y, width, height, percent, colour1);
}
