#pragma once

#include <cstdint>

// The current weapon of a character as an icon, and its ammunition as clip and reserve
// numbers. All coordinates are pixels.
void DrawWeaponIcon(void* character, float x, float y, float w, float h);
void DrawAmmo(void* character, float xTotal, float y, float xClip, float yClip);
void DrawSecondAmmo(float xTotal, float y, float xClip, float yClip);
// The model id of the character's current weapon (its weapon record at skill 1), or 0 when
// there is no character, no weapon record or no weapon.
int32_t currentWeaponModel(const void* character);
