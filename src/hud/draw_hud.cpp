#include "hud/draw_hud.h"

#include "state/plugin.h"
#include "data/placement.h"
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
void drawBothPlayers(void* character, void* second, const HudLayout& layout, HudElementState& state,
                     const ScreenScale& unit)
{
    drawCurrentWeaponIcon(character, layout, state, unit);
    drawCurrentAmmo(character, layout, state, unit);
    drawWeaponIconRow(second, layout, HUD_SECOND_WEAPON_ICON, state.secondWeaponIconY, unit);
    AmmoPlace at = ammoPlace(layout, HUD_SECOND_AMMO, state.secondAmmoY, unit);
    // The second player's counter is the same size as the first's.
    drawAmmo(second, at.xTotal, at.y, at.xClip, at.yClip, state.secondAmmoShown, layout.records[HUD_AMMO], unit);
}

bool hostBlocksWeapons()
{
    return host::hud_block_flag_a.get() || host::hud_block_flag_b.get() || host::hud_block_flag_c.get();
}

// One player: the weapon cues open the icon with the counter, the ammo cue the counter
// alone, each for a while; both open means the counter is drawn twice. Without a pad
// there is nothing to ask, and the windows run on as they are.
void drawTimedWeapon(void* character, void* pad, const HudLayout& layout, HudElementState& state,
                     const ScreenScale& unit)
{
    uint32_t now = host::time_ms.get();
    if (pad && (host::pad_weapon_cue_a(pad) || host::pad_weapon_cue_b(pad)))
        state.weaponUntil = now + weaponWindowMs;
    if (pad && host::pad_ammo_cue(pad))
        state.ammoUntil = now + weaponWindowMs;
    if (now < state.weaponUntil) {
        drawCurrentWeaponIcon(character, layout, state, unit);
        drawCurrentAmmo(character, layout, state, unit);
    }
    if (now < state.ammoUntil)
        drawCurrentAmmo(character, layout, state, unit);
}

void drawWeapons(void* character, void* second, void* pad, const HudLayout& layout, HudElementState& state,
                 const ScreenScale& unit)
{
    if (second) {
        drawBothPlayers(character, second, layout, state, unit);
        return;
    }
    // The multiplayer client shows the weapon all the time.
    if (moduleLoaded("samp.dll")) {
        drawCurrentWeaponIcon(character, layout, state, unit);
        drawCurrentAmmo(character, layout, state, unit);
        return;
    }
    // While the host blocks it the timed display stands still: no cue is read.
    if (hostBlocksWeapons())
        return;
    drawTimedWeapon(character, pad, layout, state, unit);
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
    const ScreenScale unit;
    const Vec2& offset = layout.playerInfoOffset;
    // The stars have no line of their own: they move with the block.
    const Shift block = playerBlockShift(layout, unit);
    drawWantedStars(block.atX(unit.width - unit.pixels(offset.x + 126)), block.atY(unit.pixels(offset.y + 59)), state,
                    unit);
    // The cash window also shows the zone and vehicle names and the weapon.
    if (cashWindowOpen(state)) {
        drawCash(layout, state, unit);
        drawAreaNames(layout, unit);
        drawCurrentWeaponIcon(character, layout, state, unit);
        drawCurrentAmmo(character, layout, state, unit);
    }
    if (plugin.settings.bStatsBox)
        drawStatsBox(layout, state, unit);
    if (plugin.settings.bCellphone)
        drawCellphone(layout, state, unit);
    drawWeapons(character, second, pad, layout, state, unit);
}
