#include "hud/weapon_ammo.h"

void DrawWeaponIcon(void*, float, float, float, float) {}

void DrawAmmo(void*, float, float, float, float) {}

void DrawSecondAmmo(float, float, float, float) {}
