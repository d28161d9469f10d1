#include "hud/draw_hud.h"

#include "state/plugin.h"
#include "data/screen_unit.h"
#include "core/input.h"
#include "host/host.h"
#include "hud/area_names.h"
#include "hud/cash_window.h"
#include "hud/cellphone.h"
#include "draw/hud_style.h"
#include "hud/player_info.h"
#include "hud/stats_box.h"
#include "hud/wanted_stars.h"
#include "hud/weapon_ammo.h"

namespace {

constexpr uint32_t weaponWindowMs = 4000;

// Two local players: both players' weapons, always.
void drawBothPlayers(void* character, void* second, const HudLayout& layout, HudElementState& state)
{
    drawCurrentWeaponIcon(character, layout, state);
    drawCurrentAmmo(character, layout, state);
    drawWeaponIconRow(second, layout, HUD_SECOND_WEAPON_ICON, state.secondWeaponIconY);
    AmmoPlace at = ammoPlace(layout, HUD_SECOND_AMMO, state.secondAmmoY);
    drawAmmo(second, at.xTotal, at.y, at.xClip, at.yClip, state.secondAmmoShown);
}

bool hostBlocksWeapons()
{
    return host::hud_block_flag_a.get() || host::hud_block_flag_b.get() || host::hud_block_flag_c.get();
}

// One player: the weapon cues open the icon with the counter, the ammo cue the counter
// alone, each for a while; both open means the counter is drawn twice. Without a pad
// there is nothing to ask, and the windows run on as they are.
void drawTimedWeapon(void* character, void* pad, const HudLayout& layout, HudElementState& state)
{
    uint32_t now = host::time_ms.get();
    if (pad && (host::pad_weapon_cue_a(pad) || host::pad_weapon_cue_b(pad)))
        state.weaponUntil = now + weaponWindowMs;
    if (pad && host::pad_ammo_cue(pad))
        state.ammoUntil = now + weaponWindowMs;
    if (now < state.weaponUntil) {
        drawCurrentWeaponIcon(character, layout, state);
        drawCurrentAmmo(character, layout, state);
    }
    if (now < state.ammoUntil)
        drawCurrentAmmo(character, layout, state);
}

void drawWeapons(void* character, void* second, void* pad, const HudLayout& layout, HudElementState& state)
{
    if (second) {
        drawBothPlayers(character, second, layout, state);
        return;
    }
    // The multiplayer client shows the weapon all the time.
    if (moduleLoaded("samp.dll")) {
        drawCurrentWeaponIcon(character, layout, state);
        drawCurrentAmmo(character, layout, state);
        return;
    }
    // While the host blocks it the timed display stands still: no cue is read.
    if (hostBlocksWeapons())
        return;
    drawTimedWeapon(character, pad, layout, state);
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

    const HudLayout& layout = plugin.layout;
    HudElementState& state = plugin.hudState;
    updateHudLayout(layout, state);
    const Vec2& offset = layout.playerInfoOffset;
    drawWantedStars(screenWidth() - pixels(offset.x + 126), pixels(offset.y + 59), state);
    // The cash window also shows the zone and vehicle names and the weapon.
    if (cashWindowOpen(state)) {
        drawCash(layout, state);
        drawAreaNames(layout);
        drawCurrentWeaponIcon(character, layout, state);
        drawCurrentAmmo(character, layout, state);
    }
    if (plugin.settings.bStatsBox)
        drawStatsBox(layout, state);
    if (plugin.settings.bCellphone)
        drawCellphone(layout, state);
    drawWeapons(character, second, pad, layout, state);
}
