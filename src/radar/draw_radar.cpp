#include "radar/draw_radar.h"

#include "state/plugin.h"
#include "data/placement.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "draw/hud_style.h"
#include "radar/breath_bar.h"
#include "draw/render_state.h"
#include "radar/ring_gauge.h"
#include "radar/roll_indicator.h"
#include "textures/sprite_tables.h"

namespace {

// The radar ring table.

constexpr int32_t noRadarMode = 2;
constexpr uint32_t damageFlashMs = 700;
constexpr uint32_t wantedPeriodMs = 1200;
constexpr uint32_t underWaterFlag = 0x100;
constexpr int32_t fullBreathStat = 8;
constexpr int32_t planeVehicleType = 4;

// Each gauge uses one half of the ring texture.
constexpr Vec2 leftHalf[4] = {{0.0f, 0.0f}, {0.5f, 0.0f}, {0.0f, 1.0f}, {0.5f, 1.0f}};
constexpr Vec2 rightHalf[4] = {{0.5f, 0.0f}, {1.0f, 0.0f}, {0.5f, 1.0f}, {1.0f, 1.0f}};

struct GaugeColours {
    Colour health, armour, breath;
};

void* recordCharacter(uint32_t player)
{
    return host::load<void*>(host::player_records.address + player * host::player_record_size);
}

float recordMaximum(uint32_t player, uint32_t field)
{
    return host::load<uint8_t>(host::player_records.address + player * host::player_record_size + field);
}

// The first player's ring box: the radar offset moves it; the second player's does not.
LayoutBox firstBox(const HudLayout& layout)
{
    LayoutBox box = layout.records[HUD_RADAR_SPRITES];
    box.x += layout.radarOffset.x;
    box.y += layout.radarOffset.y;
    return box;
}

// y is measured from the bottom edge up to the box's top edge; the box hangs down from
// there. A mirrored box starts on its right, so the sprite is drawn flipped.
void drawRing(RadarRingSprite sprite, const LayoutBox& box, const Colour& colour, const Shift& shift,
              const ScreenScale& unit, bool mirrored = false)
{
    const float left = shift.atX(unit.pixels(box.x));
    const float right = shift.atX(unit.pixels(box.x) + unit.pixels(box.w));
    const float top = unit.height - unit.pixels(box.y);
    Rect rect;
    host::make_rect(&rect, mirrored ? right : left, shift.atY(top), mirrored ? left : right,
                    shift.atY(top + unit.pixels(box.h)));
    host::sprite_draw(&spriteTables[RADAR_RING_SPRITES].sprites[sprite], &rect, &colour);
}

void drawRing(RadarRingSprite sprite, const LayoutBox& box, uint8_t r, uint8_t g, uint8_t b, uint8_t a,
              const Shift& shift, const ScreenScale& unit, bool mirrored = false)
{
    Colour colour = makeColour(r, g, b, a);
    drawRing(sprite, box, colour, shift, unit, mirrored);
}

// Health on the left half of the ring, armour on the right, each a share of the player's
// maximum. A maximum of 0 makes the share infinite (a full ring) or, at 0, undefined (no
// ring); neither reaches the host as a coordinate.
void drawGauges(void* character, uint32_t player, const LayoutBox& box, const Colour& health, const Colour& armour,
                const Shift& shift, const ScreenScale& unit)
{
    const float x = shift.atX(unit.pixels(box.x));
    const float y = shift.atY(unit.height - unit.pixels(box.y));
    const float halfW = unit.pixels(box.w) * 0.5f;
    const float h = unit.pixels(box.h);
    DrawRingGauge(host::character_health.of(character) / recordMaximum(player, host::player_record_max_health), health,
                  x, y, halfW, h, leftHalf);
    DrawRingGauge(host::character_armour.of(character) / recordMaximum(player, host::player_record_max_armour), armour,
                  halfW + x, y, halfW, h, rightHalf);
}

// Under water only, as the host reports the player's character (`shown`); the level is
// that of the record's character (`character`), as the gauges read it. A character
// without a player data record has no breath to show.
void drawBreath(void* shown, void* character, const LayoutBox& bar, const Colour& colour, const Shift& shift,
                const ScreenScale& unit)
{
    if (!(host::character_state_flags.of(shown) & underWaterFlag))
        return;
    void* data = host::character_player_data.of(character);
    if (!data)
        return;
    float breath = host::Field<host::player_data_breath, float>{}.of(data);
    drawBreathBar(bar, breath / host::stat_limit(fullBreathStat), colour, shift, unit);
}

int32_t radarMode() { return host::load<int32_t>(host::menu_state.address + host::menu_radar_mode); }

bool damageFlashShown()
{
    // As the host counts: the end of the flash is taken modulo 2^32.
    return host::time_ms.get() <= host::player_damage_time.get() + damageFlashMs;
}

// The second local player's reduced frame: no map, blips or flashes, never the damage
// colour.
void drawSecondFrame(void* character, const GaugeColours& colours, const HudLayout& layout, const ScreenScale& unit)
{
    const LayoutBox& box = layout.records[HUD_SECOND_RADAR_SPRITES];
    const Shift shift = shiftOf(layout, HUD_SECOND_RADAR_SPRITES, unit);
    drawRing(RING_BACK_SPRITE, box, 115, 115, 115, 150, shift, unit);
    drawRing(RING_MASK_SPRITE, box, 35, 35, 35, 35, shift, unit);
    Colour health = hudColour(HUD_COLOUR_HEALTH, 255);
    drawGauges(character, 1, box, health, colours.armour, shift, unit);
    drawBreath(character, character, layout.records[HUD_SECOND_BREATH_BAR], colours.breath,
               shiftOf(layout, HUD_SECOND_BREATH_BAR, unit), unit);
    drawRing(RING_FRONT_SPRITE, box, 255, 255, 255, 255, shift, unit, true);
}

void drawFirstFrame(void* shown, void* character, const GaugeColours& colours, const HudLayout& layout,
                    bool blendingMode, const ScreenScale& unit)
{
    const LayoutBox box = firstBox(layout);
    const Shift shift = shiftOf(layout, HUD_RADAR_SPRITES, unit);
    drawRing(RING_BACK_SPRITE, box, 115, 115, 115, 150, shift, unit);
    setRenderState(RenderState::SourceBlend, blendOne);
    drawRing(RING_MASK_SPRITE, box, 35, 35, 35, 35, shift, unit);
    if (damageFlashShown())
        drawRing(RING_MASK_SPRITE, box, hudColour(HUD_COLOUR_DAMAGE, 100), shift, unit);
    setRenderState(RenderState::SourceBlend, blendSourceAlpha);

    // In blending mode the map is drawn with the flash's blend left set, under the flash's
    // colour; otherwise the flash lies over the map.
    if (blendingMode) {
        drawWantedFlash(layout, unit);
        host::radar_draw_map(nullptr);
    } else {
        host::radar_draw_map(nullptr);
        drawWantedFlash(layout, unit);
    }

    drawGauges(character, 0, box, colours.health, colours.armour, shift, unit);
    drawBreath(shown, character, layout.records[HUD_BREATH_BAR], colours.breath, shiftOf(layout, HUD_BREATH_BAR, unit),
               unit);
    drawRing(RING_FRONT_SPRITE, box, 255, 255, 255, 255, shift, unit, true);
    host::radar_draw_blips(nullptr);

    void* vehicle = host::player_vehicle(-1, 0);
    if (vehicle && host::vehicle_type.of(vehicle) == planeVehicleType)
        drawRollIndicator(layout, unit);
}

} // namespace

void drawWantedFlash(const HudLayout& layout, const ScreenScale& unit)
{
    void* character = host::player_character(0);
    const void* wanted = host::player_wanted(-1);
    // A host without a wanted record has no stars to flash for.
    uint32_t stars = wanted ? host::Field<host::wanted_star_count, uint32_t>{}.of(wanted) : 0;
    // Red and blue take turns every 600 ms.
    bool red = host::time_ms_alt.get() % wantedPeriodMs < wantedPeriodMs / 2;
    Colour colour = hudColour(red ? HUD_COLOUR_RED : HUD_COLOUR_BLUE, 100);
    setRenderState(RenderState::BlendEnable, 1);
    setRenderState(RenderState::SourceBlend, blendOne);
    if (character && stars)
        drawRing(RING_MASK_SPRITE, firstBox(layout), colour, shiftOf(layout, HUD_RADAR_SPRITES, unit), unit);
}

KH_CDECL void DrawRadar()
{
    void* first = host::player_character(0);
    const RenderStateScope blending({{RenderState::BlendEnable, 1}});

    // Without a player character there is nobody to draw a radar for: nothing is drawn, and
    // no field is read through the missing character.
    void* firstRecorded = recordCharacter(0);
    if (radarMode() == noRadarMode || plugin.hudDisabled || !first || !firstRecorded)
        return;

    // A health that is not a number is not low.
    GaugeColours colours{
        hudColour(host::character_health.of(first) <= 20.0f ? HUD_COLOUR_DAMAGE : HUD_COLOUR_HEALTH, 255),
        hudColour(HUD_COLOUR_ARMOUR, 255), hudColour(HUD_COLOUR_BREATH, 255)};

    const ScreenScale unit;
    if (void* second = host::second_player_character.get())
        drawSecondFrame(second, colours, plugin.layout, unit);
    drawFirstFrame(first, firstRecorded, colours, plugin.layout, plugin.settings.bEnableBlendingMode, unit);
}
