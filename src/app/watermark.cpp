#include "app/watermark.h"

#include "state/plugin.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "host/text_style.h"

namespace {

struct WatermarkText {
    const char* text;
    float fromRight; // reference units from the right edge to the text's right end
};

// "v" and the major and minor version of the build (CMakeLists.txt holds the one version).
#define KELLHUD_TEXT(value) #value
#define KELLHUD_SHORT_VERSION(major, minor) "v" KELLHUD_TEXT(major) "." KELLHUD_TEXT(minor)

constexpr WatermarkText label[] = {
    {"Kell Hud", 104}, {KELLHUD_SHORT_VERSION(KELLHUD_VERSION_MAJOR, KELLHUD_VERSION_MINOR), 72}, {"b", 55}, {"y", 45}};
constexpr WatermarkText signature[] = {{"Q", 18}, {"Z", 5}};

Colour watermarkColour()
{
    Colour c;
    host::make_colour(&c, 255, 255, 255, 55);
    return c;
}

void print(const WatermarkText& t, float width)
{
    host::text_print(width - pixels(t.fromRight), pixels(0), t.text);
}

} // namespace

void drawWatermark()
{
    // The text state is set even while the display is off.
    host::text_set_box(host::TextBox::None);
    host::text_set_align(host::Align::Right);
    host::text_set_proportional(true);
    host::text_set_justified(false);
    host::text_set_colour(watermarkColour());
    host::text_set_font(1);
    host::text_set_outline(0);
    host::text_set_scale(scale(0.5f), scale(1.1f));
    if (plugin.hudDisabled)
        return;

    float width = static_cast<float>(host::screen_width.get());
    for (const WatermarkText& t : label)
        print(t, width);

    // A small bar between "by" and the signature.
    Colour colour = watermarkColour();
    Rect bar;
    float left = width - pixels(37);
    host::make_rect(&bar, left, pixels(17), left + pixels(8), pixels(17) + pixels(3));
    host::fill_rect(&bar, &colour);

    for (const WatermarkText& t : signature)
        print(t, width);
}
