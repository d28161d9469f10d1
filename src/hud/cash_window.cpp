#include "hud/cash_window.h"

#include "state/plugin.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "hud/area_names.h"
#include "draw/hud_style.h"
#include "hud/number_text.h"
#include "hud/player_info.h"
#include "platform/win32.h"

namespace {

constexpr int cashKey = 0x54;
constexpr uint32_t cashWindowMs = 2500;

bool keyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// The cash key or the host's cash cue; the cue is left to the radio while it shows.
// Without a pad only the key is left.
bool cashCued()
{
    void* pad = host::pad_get(0);
    return keyDown(cashKey) || (pad && host::pad_cash_cue_field.of(pad) != 0 && !plugin.hudState.radioShown);
}

} // namespace

void DrawCashBlock()
{
    HudElementState& state = plugin.hudState;
    uint32_t now = host::time_ms.get();
    if (cashCued())
        state.cashUntil = now + cashWindowMs;
    if (now >= state.cashUntil) {
        state.cashShown = false;
        return;
    }
    state.cashShown = true;

    setNameStyle(3, layoutOf(HUD_CASH));
    setNameColours(HUD_COLOUR_CASH, 255);
    DrawCash();

    setNameStyle(2, layoutOf(HUD_ZONE_NAME));
    setNameColours(HUD_COLOUR_ZONE, 255);
    if (host::zone_name_state_b.get() && host::zone_name_state_a.get())
        PrintZoneName();

    setNameStyle(2, layoutOf(HUD_VEHICLE_NAME));
    setNameColours(HUD_COLOUR_VEHICLE_NAME, 255);
    if (host::vehicle_name_state_b.get() && host::vehicle_name_state_a.get())
        PrintVehicleName();

    void* character = currentCharacter();
    drawCurrentWeaponIcon(character);
    drawCurrentAmmo(character);
}

void DrawCash()
{
    // "-$" and the magnitude, computed wide so the most negative amount prints too.
    int32_t money = currentPlayerMoney();
    char text[16];
    if (money < 0)
        writeNumber(text, sizeof text, "-$", -int64_t{money});
    else
        writeNumber(text, sizeof text, "$", money);

    const LayoutBox& cash = layoutOf(HUD_CASH);
    setNameStyle(3, cash);
    setNameColours(HUD_COLOUR_CASH, 255);
    // Below the stars when they show; the block's y offset does not move the cash.
    float y = cash.y + (plugin.hudState.starsShown ? 32.0f : 0.0f);
    host::text_print_b(screenWidth() - pixels(cash.x + plugin.layout.playerInfoOffset.x), pixels(y), text);
}
