#include "hud/crosshair.h"

#include <cstdint>

#include "state/plugin.h"
#include "data/placement.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "platform/address.h"
#include "draw/hud_style.h"
#include "textures/sprite_tables.h"

namespace {

constexpr int32_t sniperModel = 358;
constexpr int32_t rocketModelA = 359;
constexpr int32_t rocketModelB = 360;
constexpr int32_t cameraModel = 367;

constexpr int32_t noMode = -1;
constexpr int32_t guardedAimingMode = 53;
constexpr int32_t aimingModes[] = {55, 65, 8, 51, 7, 46};
constexpr int32_t firstPersonModes[] = {34, 42, 41, 45};

template <size_t N>
bool oneOf(int32_t mode, const int32_t (&modes)[N])
{
    for (int32_t m : modes)
        if (m == mode)
            return true;
    return false;
}

// The active camera record's mode; an index outside the records names no mode.
int32_t cameraMode()
{
    int32_t index = host::camera_active_index.get();
    if (index < 0 || static_cast<uint32_t>(index) >= host::camera_record_count)
        return noMode;
    return host::load<uint16_t>(host::camera_records.address + static_cast<uint32_t>(index) * host::camera_record_size);
}

// The model of the character's current weapon, or 0 when its slot, type or weapon record
// is missing (the ordinary crosshair then).
int32_t currentWeaponModel(const void* character)
{
    uint8_t slot = host::character_current_slot.of(character);
    if (slot >= host::character_weapon_slot_count)
        return 0;
    uint32_t record = addressOf(character) + host::character_weapon_slots +
                      slot * host::weapon_slot_size;
    int32_t type = host::load<int32_t>(record + host::weapon_slot_type);
    if (type < 0 || static_cast<uint32_t>(type) >= host::weapon_type_count)
        return 0;
    const void* info = host::weapon_info(type, 1);
    return info ? host::weapon_info_model.of(info) : 0;
}

Sprite* hudSprite(HudSprite index) { return &spriteTables[HUD_SPRITES].sprites[index]; }

void drawSprite(HudSprite sprite, float left, float top, float right, float bottom)
{
    Rect rect;
    host::make_rect(&rect, left, top, right, bottom);
    Colour white = makeColour(255, 255, 255, 255);
    host::sprite_draw(hudSprite(sprite), &rect, &white);
}

void fill(float left, float top, float right, float bottom, uint8_t grey)
{
    Rect rect;
    host::make_rect(&rect, left, top, right, bottom);
    Colour colour = makeColour(grey, grey, grey, 255);
    host::fill_rect(&rect, &colour);
}

void drawSniperScope(const ScreenScale& unit)
{
    const float w = unit.width, h = unit.height;
    float left = w / 2 - unit.pixels(564), top = h / 2 - unit.pixels(564);
    float size = unit.scale(1128); // not whole pixels: the scope fills the shorter side exactly
    drawSprite(SNIPER_SPRITE, left, top, left + size, top + size);
}

void drawRocketScope(const ScreenScale& unit)
{
    const float w = unit.width, h = unit.height;
    float left = w / 2 - unit.pixels(756), top = h / 2 - unit.pixels(756);
    fill(-w / 2, 0, left, h, 0);
    drawSprite(ROCKET_SPRITE, left, top, left + unit.pixels(1512), top + unit.pixels(1512));
    fill(1.5f * w, 0, w / 2 + unit.pixels(756), h, 0);
}

// Four thin lines; the vertical ones run down to y = W, past the bottom edge.
void drawViewfinder(const ScreenScale& unit)
{
    const float w = unit.width, h = unit.height;
    float thick = unit.pixels(1.5f);
    float leftX = w / 2 - unit.pixels(325), rightX = w / 2 + unit.pixels(325);
    float upperY = h / 2 - unit.pixels(225), lowerY = h / 2 + unit.pixels(225);
    fill(leftX, 0, leftX + thick, w, 255);
    fill(rightX, 0, rightX + thick, w, 255);
    fill(0, upperY, w, upperY + thick, 255);
    fill(0, lowerY, w, lowerY + thick, 255);
}

// Four quarters meeting at the aim point, mirrored by swapped edges, and a dot. The
// layout's numbers are plain pixels here: the crosshair keeps its size at every resolution.
void drawAimingCrosshair(const LayoutBox& ch, const ScreenScale& unit)
{
    const float w = unit.width, h = unit.height;
    float px = host::crosshair_x_fraction.get() * w + ch.x;
    float py = host::crosshair_y_fraction.get() * h + ch.y;
    drawSprite(CROSSHAIR_SPRITE, px - ch.w, py - ch.h, px, py);
    drawSprite(CROSSHAIR_SPRITE, px + ch.w, py - ch.h, px, py);
    fill(px - 2.5f, py - 1, px + 2.5f, py + 3, 255);
    drawSprite(CROSSHAIR_SPRITE, px - ch.w, py + ch.h, px, py);
    drawSprite(CROSSHAIR_SPRITE, px + ch.w, py + ch.h, px, py);
}

void drawWeaponView(const void* character, const HudLayout& layout, const ScreenScale& unit)
{
    switch (currentWeaponModel(character)) {
    case sniperModel: drawSniperScope(unit); break;
    case rocketModelA:
    case rocketModelB: drawRocketScope(unit); break;
    case cameraModel: drawViewfinder(unit); break;
    default: drawAimingCrosshair(layout.records[HUD_CROSSHAIR], unit); break;
    }
}

void drawFirstPersonCrosshair(const LayoutBox& fp, const Shift& shift, const ScreenScale& unit)
{
    const float w = unit.width, h = unit.height;
    float left = shift.atX(w / 2 - unit.pixels(fp.x + 0.5f * fp.w));
    float top = shift.atY(h / 2 - unit.pixels(fp.y + 0.5f * fp.h));
    drawSprite(FIRST_PERSON_SPRITE, left, top, left + unit.pixels(fp.w), top + unit.pixels(fp.h));
}

} // namespace

KH_CDECL void DrawCrosshair()
{
    if (plugin.hudDisabled)
        return;
    const void* character = host::player_character(-1);
    if (!character || host::character_crosshair_block.of(character))
        return;

    const ScreenScale unit;
    const HudLayout& layout = plugin.layout;
    int32_t mode = cameraMode();
    if (mode == guardedAimingMode) {
        if (host::camera_flag_c.get() && !host::camera_flag_d.get())
            return;
        drawWeaponView(character, layout, unit);
    } else if (oneOf(mode, aimingModes)) {
        drawWeaponView(character, layout, unit);
    } else if (oneOf(mode, firstPersonModes)) {
        drawFirstPersonCrosshair(layout.records[HUD_CROSSHAIR_FPS], shiftOf(layout, HUD_CROSSHAIR_FPS, unit), unit);
    }
}
