#include "hud/subtitles.h"

#include "state/plugin.h"
#include "data/placement.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "host/text_style.h"
#include "draw/hud_style.h"

KH_CDECL void PrintSubtitle(float, float, const char* text)
{
    const ScreenScale unit;
    const HudLayout& layout = plugin.layout;
    host::text_set_box(host::TextBox::None);
    host::text_set_align(host::Align::Centre);
    host::text_set_proportional(true);
    host::text_set_justified(false);
    host::text_set_colour(hudColour(HUD_COLOUR_PURE_WHITE, 255));
    host::text_set_font(1);
    host::text_set_outline(1);
    // The line ends where the radar's sprites begin: two numbers of their record taken as
    // pixels, so the width does not follow the resolution. A radar anchored away from the
    // left leaves the width of its shipped place.
    const LayoutBox& sprites = layout.records[HUD_RADAR_SPRITES];
    const float width = radarAtLeft(layout) ? unit.width - sprites.x - sprites.w : unit.width - shippedRadarSpan;
    host::text_set_width_a(width);
    host::text_set_width_b(width);
    const LayoutBox& box = layout.records[HUD_SUBTITLES];
    host::text_set_scale(unit.scale(box.w), unit.scale(box.h));
    if (plugin.hudDisabled)
        return;
    // Centred from the bottom middle of the screen.
    const Shift shift = shiftOf(layout, HUD_SUBTITLES, unit);
    host::text_print_b(shift.atX(unit.width * 0.5f - unit.pixels(box.x)), shift.atY(unit.height - unit.pixels(box.y)),
                       text);
}

KH_CDECL void PrintMissionText()
{
    const ScreenScale unit;
    const HudLayout& layout = plugin.layout;
    const LayoutBox& box = layout.records[HUD_MISSION_TEXT];
    host::text_set_box(host::TextBox::None);
    host::text_set_align(host::Align::Right);
    host::text_set_proportional(true);
    host::text_set_justified(false);
    host::text_set_font(2);
    host::text_set_outline(0);
    host::text_set_scale(unit.scale(box.w), unit.scale(box.h));
    // The host's own colour and alpha for the text are not used.
    host::text_set_colour(hudColour(HUD_COLOUR_MISSION, 225));
    if (plugin.hudDisabled)
        return;
    // Ends at x, placed from the bottom-right corner.
    const Shift shift = shiftOf(layout, HUD_MISSION_TEXT, unit);
    host::text_print_b(shift.atX(unit.width - unit.pixels(box.x)), shift.atY(unit.height - unit.pixels(box.y)),
                       static_cast<const char*>(host::mission_text.pointer()));
}
