#include "hud/wanted_stars.h"

#include "data/screen_unit.h"
#include "host/host.h"
#include "draw/hud_style.h"
#include "textures/sprite_tables.h"

namespace {

constexpr int slotCount = 6;
constexpr uint32_t blinkMs = 2000;
constexpr uint32_t blinkPeriodMs = 300;

} // namespace

void drawWantedStars(float x, float y, HudElementState& state, const ScreenScale& unit)
{
    // No wanted record (the host has no player to ask about) reads as no stars.
    const void* wanted = host::player_wanted(-1);
    uint32_t stars = wanted ? host::Field<host::wanted_star_count, uint32_t>{}.of(wanted) : 0;
    if (stars == 0) {
        state.starsShown = false;
        return;
    }

    // Lit slots blink for a while after the level changes; the other slots stay dark.
    // A count beyond the six slots lights them all.
    uint32_t changed = host::Field<host::wanted_change_time, uint32_t>{}.of(wanted);
    bool blinking = host::time_ms.get() <= changed + blinkMs;
    bool blinkOn = host::time_ms_alt.get() % blinkPeriodMs < blinkPeriodMs / 2;
    Sprite* star = &spriteTables[HUD_SPRITES].sprites[STAR_SPRITE];
    const float width = unit.pixels(25), height = unit.pixels(27);
    for (uint32_t slot = 0; slot < slotCount; ++slot) {
        bool lit = stars > slot;
        Colour colour = lit && (!blinking || blinkOn) ? hudColour(HUD_COLOUR_WANTED_STAR, 255) : makeColour(0, 0, 0, 100);
        host::sprite_draw_xywh(star, x, y, width, height, &colour);
        if (lit)
            state.starsShown = true;
        x -= width;
    }
}
