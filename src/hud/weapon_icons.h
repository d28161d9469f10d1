#pragma once

#include <cstdint>

#include "host/types.h"

// The icon of a weapon by the model id of its weapon record: `unarmed` for no weapon
// (model 0 or less), null for a model without an icon.
Sprite* weaponIconSprite(int32_t model);
