#include "draw/hud_style.h"

#include "state/plugin.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "host/text_style.h"

void setNameStyle(int32_t font, const LayoutBox& box, const ScreenScale& unit)
{
    host::text_set_box(host::TextBox::None);
    host::text_set_align(host::Align::Right);
    host::text_set_proportional(true);
    host::text_set_justified(false);
    host::text_set_font(font);
    host::text_set_outline(1);
    host::text_set_scale(unit.scale(box.w), unit.scale(box.h));
}

void setNameColours(HudColour text, uint8_t alpha)
{
    host::text_set_colour(hudColour(text, alpha));
    host::text_set_second_colour(hudColour(HUD_COLOUR_BLACK, alpha));
}
