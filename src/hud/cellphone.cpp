#include "hud/cellphone.h"

#include <cstdio>

#include "data/placement.h"
#include "data/screen_unit.h"
#include "core/input.h"
#include "host/host.h"
#include "host/text_style.h"
#include "draw/hud_style.h"
#include "hud/player_info.h"
#include "textures/sprite_tables.h"

namespace {

constexpr uint32_t phoneWindowMs = 2500;

// The host's cue counts only on foot. Without a character there is nobody on foot and no
// vehicle to read, and without a pad no cue to ask, so only the key is left.
bool phoneCued()
{
    void* character = currentCharacter();
    void* pad = host::pad_get(0);
    if (character && pad && host::pad_phone_cue(pad, character) && !host::character_vehicle.of(character))
        return true;
    return keyDown(tabKey);
}

void setClockStyle(const LayoutBox& clock, const ScreenScale& unit)
{
    host::text_set_box(host::TextBox::None);
    host::text_set_align(host::Align::Right);
    host::text_set_proportional(true);
    host::text_set_justified(false);
    host::text_set_font(1);
    host::text_set_outline(0);
    host::text_set_scale(unit.scale(clock.w), unit.scale(clock.h));
    host::text_set_colour(hudColour(HUD_COLOUR_CELLPHONE_CLOCK, 255));
    host::text_set_second_colour(hudColour(HUD_COLOUR_BLACK, 255));
}

void drawPhoneSprite(const LayoutBox& phone, float slide, const Shift& shift, const ScreenScale& unit)
{
    Colour white = makeColour(255, 255, 255, 255);
    host::sprite_draw_xywh(&spriteTables[HUD_SPRITES].sprites[CELLPHONE_SPRITE], shift.atX(unit.width - unit.pixels(phone.x)),
                           unit.height - unit.pixels(slide), unit.pixels(phone.w), unit.pixels(phone.h), &white);
}

// The host's clock bytes are u8, but the texts are sized for any int, so no value the
// formats can produce is ever cut: "DAY_" and 11 characters, two of 11 and the colon.
constexpr size_t dayKeySize = 16;
constexpr size_t clockTextSize = 24;

void printDay(const LayoutBox& day, float slide, const Shift& shift, const ScreenScale& unit)
{
    char key[dayKeySize];
    std::snprintf(key, sizeof key, "DAY_%d", int{host::clock_day_of_week.get()});
    const char* text = host::text_lookup(host::text_table.pointer(), key);
    host::text_print(shift.atX(unit.width - unit.pixels(day.x)), unit.height - unit.pixels(slide), text);
}

void printClock(const LayoutBox& clock, float slide, const Shift& shift, const ScreenScale& unit)
{
    char text[clockTextSize];
    std::snprintf(text, sizeof text, "%02d:%02d", int{host::clock_hours.get()}, int{host::clock_minutes.get()});
    host::text_print(shift.atX(unit.width - unit.pixels(clock.x)), unit.height - unit.pixels(slide), text);
}

} // namespace

bool phoneWindowOpen(HudElementState& state)
{
    uint32_t now = host::time_ms.get();
    if (phoneCued())
        state.phoneUntil = now + phoneWindowMs;
    return now < state.phoneUntil;
}

void drawCellphone(const HudLayout& layout, HudElementState& state, const ScreenScale& unit)
{
    state.phoneShown = phoneWindowOpen(state);
    // Drawn every frame: at slide 0 the phone lies just below the screen.
    drawPhoneSprite(layout.records[HUD_CELLPHONE], state.phoneSlide, shiftOf(layout, HUD_CELLPHONE, unit), unit);
    // The day uses the clock's style and scale.
    setClockStyle(layout.records[HUD_CELLPHONE_CLOCK], unit);
    printDay(layout.records[HUD_CELLPHONE_DAY], state.daySlide, shiftOf(layout, HUD_CELLPHONE_DAY, unit), unit);
    printClock(layout.records[HUD_CELLPHONE_CLOCK], state.clockSlide, shiftOf(layout, HUD_CELLPHONE_CLOCK, unit), unit);
}
