#pragma once

#include "host/types.h"

// The six tables of host sprite handles the drawing code uses, each bound from one of the
// plug-in's texture dictionaries. Index i of a table holds the texture named i-th.

struct SpriteTable {
    const char* slotName;     // the host dictionary slot the textures load into
    const char* const* names; // texture names, in index order
    int count;
    Sprite* sprites;
};

enum SpriteTableId : int {
    HUD_SPRITES,
    RADAR_RING_SPRITES,
    BLIP_LEVEL_SPRITES,
    WEAPON_SPRITES,
    RADIO_SPRITES,
    PROGRESS_BAR_SPRITES,
    SPRITE_TABLE_COUNT
};

extern const SpriteTable spriteTables[SPRITE_TABLE_COUNT];

// Every handle is a host object: made at load, in table order, and unmade at unload in the
// reverse order. Only this module makes, binds, releases and unmakes them; the drawing code
// only hands them to the host's draw methods.
void constructSpriteTables();
void destroySpriteTables();
