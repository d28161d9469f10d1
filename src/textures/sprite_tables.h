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

// The tables: each one's id, the host dictionary slot its textures load into, and the
// stem of its arrays of names and handles (sprite_tables.cpp).
#define SPRITE_TABLE_LIST(X) \
    X(HUD_SPRITES, "hudkell", hud) \
    X(RADAR_RING_SPRITES, "radarkell", radarRing) \
    X(BLIP_LEVEL_SPRITES, "blipskell", blipLevel) \
    X(WEAPON_SPRITES, "weaponskell", weapon) \
    X(RADIO_SPRITES, "radioHud", radio) \
    X(PROGRESS_BAR_SPRITES, "progress_bar", progressBar)

// The textures the drawing code picks by index, with the names the dictionaries hold: a
// row removed here fails the build where its index is used. (Weapons are found by name,
// radio icons and progress frames by number.)
#define HUD_SPRITE_LIST(X) \
    X(STAR_SPRITE, "star") \
    X(CROSSHAIR_SPRITE, "hud_crosshair") \
    X(TARGET_SPRITE, "hud_target") \
    X(CELLPHONE_SPRITE, "hud_cellphone") \
    X(SNIPER_SPRITE, "hud_sniper") \
    X(ROCKET_SPRITE, "hud_rocket") \
    X(FIRST_PERSON_SPRITE, "hud_crosshair_fps")
#define RADAR_RING_SPRITE_LIST(X) \
    X(RING_FRONT_SPRITE, "radarringfront") \
    X(RING_BACK_SPRITE, "radarringback") \
    X(RING_MASK_SPRITE, "radarringmask") \
    X(RING_PLANE_SPRITE, "radarringplane")
// In the order of the host's level kinds: above the player, below, level with.
#define BLIP_LEVEL_SPRITE_LIST(X) \
    X(LEVEL_HIGHER_SPRITE, "radar_higher") \
    X(LEVEL_LOWER_SPRITE, "radar_lower") \
    X(LEVEL_SAME_SPRITE, "radar_level")

#define SPRITE_TABLE_ID(id, slot, stem) id,
enum SpriteTableId : int { SPRITE_TABLE_LIST(SPRITE_TABLE_ID) SPRITE_TABLE_COUNT };
#undef SPRITE_TABLE_ID
#define SPRITE_LIST_ID(id, text) id,
enum HudSprite : int { HUD_SPRITE_LIST(SPRITE_LIST_ID) HUD_SPRITE_COUNT };
enum RadarRingSprite : int { RADAR_RING_SPRITE_LIST(SPRITE_LIST_ID) RADAR_RING_SPRITE_COUNT };
enum BlipLevelSprite : int { BLIP_LEVEL_SPRITE_LIST(SPRITE_LIST_ID) BLIP_LEVEL_SPRITE_COUNT };
#undef SPRITE_LIST_ID

extern const SpriteTable spriteTables[SPRITE_TABLE_COUNT];

// Every handle is a host object: made at load, in table order, and unmade at unload in the
// reverse order. Only this module makes, binds, releases and unmakes them; the drawing code
// only hands them to the host's draw methods.
void constructSpriteTables();
void destroySpriteTables();
