#pragma once

#include <cstdint>

#include "data/layout.h"
#include "data/screen_unit.h"

// The current weapon of a character as an icon, and its ammunition as clip and reserve
// numbers. All coordinates are pixels.
void DrawWeaponIcon(void* character, float x, float y, float w, float h);
// `shown` (the player's ammoShown or secondAmmoShown) says whether a counter was drawn; the
// weapon rows are placed by it in the next frame.
// Both players' counters take their text size from `size` (the first player's HUD_AMMO).
void drawAmmo(void* character, float xTotal, float y, float xClip, float yClip, bool& shown, const LayoutBox& size,
              const ScreenScale& unit);
// The model id of the character's current weapon (its weapon record at skill 1), or 0 when
// there is no character, no weapon record or no weapon.
int32_t currentWeaponModel(const void* character);
