#include "radar/blips.h"

#include <cmath>

#include "data/screen_unit.h"
#include "host/host.h"
#include "draw/hud_style.h"
#include "radar/map_screen.h"
#include "textures/sprite_tables.h"

namespace {

constexpr float blipHalf = 13.0f;
constexpr float levelMarkerHalf = 9.0f;
constexpr float sizedMarkerWidth = 13.5f;
constexpr float sizedMarkerHeight = 12.5f;
// What the host passes to its sprite check for a blip drawn on the radar.
constexpr int32_t spriteCheckAny = -99;

// A point that is not a finite number (a blip the host placed nowhere) gets no square:
// the host would be handed a rectangle without edges.
bool placed(float x, float y) { return std::isfinite(x) && std::isfinite(y); }

// A square of half-size `half` reference units around (x, y).
void drawSquare(Sprite* sprite, float x, float y, float half, Colour colour)
{
    float h = pixels(half);
    Rect rect;
    host::make_rect(&rect, x - h, y - h, h + x, h + y);
    host::sprite_draw(sprite, &rect, &colour);
}

} // namespace

KH_CDECL void DrawBlipSprite(uint8_t id, float x, float y, uint8_t alpha)
{
    if (mapScreenShown())
        mapFrameToScreen(x, y);
    if (!host::radar_sprite_check(id, spriteCheckAny))
        return;
    // id is a byte, so it always names one of the host's 256 slots.
    Sprite* sprite = static_cast<Sprite*>(host::radar_sprites.pointer()) + id;
    if (placed(x, y))
        drawSquare(sprite, x, y, blipHalf, makeColour(255, 255, 255, alpha));
    host::radar_sprite_drawn(0, id);
}

KH_CDECL void DrawLevelMarker(float x, float y, uint32_t, uint8_t r, uint8_t g, uint8_t b, uint8_t a, uint8_t kind)
{
    if (mapScreenShown())
        mapFrameToScreen(x, y);
    if (kind >= BLIP_LEVEL_SPRITE_COUNT || !placed(x, y))
        return;
    drawSquare(&spriteTables[BLIP_LEVEL_SPRITES].sprites[kind], x, y, levelMarkerHalf, makeColour(r, g, b, a));
}

KH_CDECL void DrawSizedMarker(uint32_t a0, float a1, float a2, float a3, int32_t, int32_t, uint32_t a6)
{
    host::radar_draw_sized_marker(a0, a1, a2, a3, static_cast<int32_t>(pixels(sizedMarkerWidth)),
                                  static_cast<int32_t>(pixels(sizedMarkerHeight)), a6);
}
