#include "hud/draw_hud.h"

#include "state/plugin.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "hud/cash_window.h"
#include "hud/cellphone.h"
#include "draw/hud_style.h"
#include "hud/player_info.h"
#include "hud/stats_box.h"
#include "hud/wanted_stars.h"
#include "hud/weapon_ammo.h"
#include "platform/win32.h"

namespace {

constexpr uint32_t weaponWindowMs = 4000;

// Two local players: both players' weapons, always.
void drawBothPlayers(void* character, void* second)
{
    const HudElementState& state = plugin.hudState;
    drawCurrentWeaponIcon(character);
    drawCurrentAmmo(character);
    drawWeaponIconRow(second, HUD_SECOND_WEAPON_ICON, state.secondWeaponIconY);
    AmmoPlace at = ammoPlace(HUD_SECOND_AMMO, state.secondAmmoY);
    DrawSecondAmmo(at.xTotal, at.y, at.xClip, at.yClip);
}

bool hostBlocksWeapons()
{
    return host::hud_block_flag_a.get() || host::hud_block_flag_b.get() || host::hud_block_flag_c.get();
}

// One player: the weapon cues open the icon with the counter, the ammo cue the counter
// alone, each for a while; both open means the counter is drawn twice. Without a pad
// there is nothing to ask, and the windows run on as they are.
void drawTimedWeapon(void* character, void* pad)
{
    HudElementState& state = plugin.hudState;
    uint32_t now = host::time_ms.get();
    if (pad && (host::pad_weapon_cue_a(pad) || host::pad_weapon_cue_b(pad)))
        state.weaponUntil = now + weaponWindowMs;
    if (pad && host::pad_ammo_cue(pad))
        state.ammoUntil = now + weaponWindowMs;
    if (now < state.weaponUntil) {
        drawCurrentWeaponIcon(character);
        drawCurrentAmmo(character);
    }
    if (now < state.ammoUntil)
        drawCurrentAmmo(character);
}

void drawWeapons(void* character, void* second, void* pad)
{
    if (second) {
        drawBothPlayers(character, second);
        return;
    }
    // The multiplayer client shows the weapon all the time.
    if (GetModuleHandleA("samp.dll")) {
        drawCurrentWeaponIcon(character);
        drawCurrentAmmo(character);
        return;
    }
    // While the host blocks it the timed display stands still: no cue is read.
    if (hostBlocksWeapons())
        return;
    drawTimedWeapon(character, pad);
}

} // namespace

void DrawHud()
{
    void* character = currentCharacter();
    void* second = host::second_player_character.get();
    void* pad = host::pad_get(0);
    // Switched off, nothing is drawn and nothing of the HUD's state moves.
    if (plugin.hudDisabled)
        return;

    UpdateHudLayout();
    const Vec2& offset = plugin.layout.playerInfoOffset;
    DrawWantedStars(screenWidth() - pixels(offset.x + 126), pixels(offset.y + 59));
    DrawCashBlock();
    if (plugin.settings.bStatsBox)
        DrawStatsBox();
    if (plugin.settings.bCellphone)
        DrawCellphone();
    drawWeapons(character, second, pad);
}
