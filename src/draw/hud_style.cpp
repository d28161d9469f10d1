#include "draw/hud_style.h"

#include "state/plugin.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "host/text_style.h"

Colour hudColour(HudColour name, uint8_t alpha)
{
    const Colour& c = plugin.colours[name];
    return makeColour(c.r, c.g, c.b, alpha);
}

Colour makeColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    Colour c;
    host::make_colour(&c, r, g, b, a);
    return c;
}

const LayoutBox& layoutOf(LayoutRecord record) { return plugin.layout.records[record]; }

float screenWidth() { return static_cast<float>(host::screen_width.get()); }

float screenHeight() { return static_cast<float>(host::screen_height.get()); }

void setNameStyle(int32_t font, const LayoutBox& box)
{
    host::text_set_box(host::TextBox::None);
    host::text_set_align(host::Align::Right);
    host::text_set_proportional(true);
    host::text_set_justified(false);
    host::text_set_font(font);
    host::text_set_outline(1);
    host::text_set_scale(scale(box.w), scale(box.h));
}

void setNameColours(HudColour text, uint8_t alpha)
{
    host::text_set_colour(hudColour(text, alpha));
    host::text_set_second_colour(hudColour(HUD_COLOUR_BLACK, alpha));
}
