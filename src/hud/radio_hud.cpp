#include "hud/radio_hud.h"

#include <cstdint>

#include "state/plugin.h"
#include "data/placement.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "draw/hud_style.h"
#include "textures/sprite_tables.h"

namespace {

constexpr uint32_t displayMs = 2000;
constexpr int64_t stationCount = 13; // radio_playback (icon 0) to radio_off (icon 12)
constexpr int slotCount = 5;
constexpr float slotOffsets[slotCount] = {-200, 0, 200, 400, 600};
constexpr uint8_t slotAlphas[slotCount] = {50, 100, 255, 100, 50};

bool hostBlocksHud()
{
    return host::hud_block_flag_a.get() || host::hud_block_flag_b.get() || host::hud_block_flag_c.get();
}

// One step into 1..13 from either side; numbers further out stay out (and show nothing new).
int64_t wrapStation(int64_t s)
{
    if (s <= 0)
        return s + stationCount;
    if (s >= stationCount + 1)
        return s - stationCount;
    return s;
}

void drawStrip(const LayoutBox& box, const Shift& shift, HudElementState& state, const ScreenScale& unit)
{
    float cx = shift.atX(unit.width * 0.5f - unit.pixels(275 - box.x));
    float top = shift.atY(unit.pixels(box.y));
    float bottom = shift.atY(unit.pixels(box.y) + unit.pixels(box.h));
    float width = unit.pixels(box.w);
    const SpriteTable& radio = spriteTables[RADIO_SPRITES];
    for (int i = 0; i < slotCount; ++i) {
        // Only the strip update writes the icons, always inside the table; an icon from
        // anywhere else is not a sprite to name.
        int32_t icon = state.stripIcons[i];
        if (icon < 0 || icon >= radio.count)
            continue;
        float left = cx + unit.pixels(slotOffsets[i]);
        Rect rect;
        host::make_rect(&rect, left, top, left + width, bottom);
        Colour colour = makeColour(255, 255, 255, slotAlphas[i]);
        host::sprite_draw(&radio.sprites[icon], &rect, &colour);
    }
    state.radioShown = true;
}

// The icons of the next frame's strip, centred on station s (1..13).
void updateStrip(int64_t s, int32_t (&stripIcons)[slotCount])
{
    if (s < 1 || s > stationCount)
        return;
    int64_t k = s - 1;
    for (int i = 0; i < slotCount; ++i)
        stripIcons[i] = static_cast<int32_t>((k + i - 2 + stationCount) % stationCount);
}

} // namespace

KH_THISCALL void DrawRadioHud(void* radio)
{
    // In 64 bits: a station number near the ends of its range plus a step must not overflow.
    int64_t s = int64_t{host::radio_station_step.of(radio)} + host::radio_station.of(radio);
    if (plugin.hudDisabled || hostBlocksHud() || !host::player_vehicle(-1, 0))
        return;

    uint32_t now = host::time_ms.get();
    if (host::radio_change_flag.of(radio) && host::radio_change_ready(radio)) {
        host::radio_change_flag.set(radio, 0);
        host::radio_display_until.set(radio, now + displayMs);
    }
    if (now >= host::radio_display_until.of(radio)) {
        plugin.hudState.radioShown = false;
    } else if (s != 0) {
        s = wrapStation(s);
        const ScreenScale unit;
        drawStrip(plugin.layout.records[HUD_RADIO_HUD], shiftOf(plugin.layout, HUD_RADIO_HUD, unit), plugin.hudState,
                  unit);
    }
    updateStrip(s, plugin.hudState.stripIcons);
}
