#pragma once

#include <cstdint>

#include "data/layout.h"
#include "data/screen_unit.h"
#include "state/hud_state.h"

// The players as the HUD sees them, and the standard places of the weapon rows of the
// player information block (measured from the right edge, the block's offset added).

// The record of the current local player; money and the character come from it. None
// (null, no character, money 0) while the host's index names neither record.
const void* currentPlayerRecord();
void* currentCharacter();
int32_t currentPlayerMoney();

// The weapon icon of `icon` at the row `rowY` (reference units, before the offset).
void drawWeaponIconRow(void* character, const HudLayout& layout, LayoutRecord icon, float rowY, const ScreenScale& unit);

// Where the counter of `ammo` at the row `rowY` puts its two numbers, in pixels.
struct AmmoPlace {
    float xTotal, y, xClip, yClip;
};
AmmoPlace ammoPlace(const HudLayout& layout, LayoutRecord ammo, float rowY, const ScreenScale& unit);

// The current player's icon and counter at their derived rows.
void drawCurrentWeaponIcon(void* character, const HudLayout& layout, const HudElementState& state,
                           const ScreenScale& unit);
void drawCurrentAmmo(void* character, const HudLayout& layout, HudElementState& state, const ScreenScale& unit);
