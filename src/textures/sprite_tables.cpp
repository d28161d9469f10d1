#include "textures/sprite_tables.h"

#include "host/host.h"

namespace {

#define SPRITE_LIST_NAME(id, text) text,
const char* const hudNames[HUD_SPRITE_COUNT] = {HUD_SPRITE_LIST(SPRITE_LIST_NAME)};
const char* const radarRingNames[RADAR_RING_SPRITE_COUNT] = {RADAR_RING_SPRITE_LIST(SPRITE_LIST_NAME)};
const char* const blipLevelNames[BLIP_LEVEL_SPRITE_COUNT] = {BLIP_LEVEL_SPRITE_LIST(SPRITE_LIST_NAME)};
#undef SPRITE_LIST_NAME

const char* const weaponNames[] = {
    "ak47",       "bat",        "brassknuckle", "camera",     "chnsaw",     "chromegun", "colt45",
    "cuntgun",    "desert_eagle", "detonator",  "fire_ex",    "flame",      "flowera",   "goggles",
    "golfclub",   "grenade",    "gun_cane",     "gun_dildo1", "gun_dildo2", "gun_para",  "gun_vibe1",
    "gun_vibe2",  "heatseek",   "katana",       "knifecur",   "m4",         "micro_uzi", "minigun",
    "molotov",    "mp5lng",     "nitestick",    "poolcue",    "rocketla",   "satchel",   "sawnoff",
    "shotgspa",   "shovel",     "silenced",     "sniper",     "spraycan",   "teargas",   "tec9",
    "unarmed"};

const char* const radioNames[] = {"radio_playback", "radio_krose", "radio_kdst",   "radio_bounce", "radio_sfur",
                                  "radio_rls",      "radio_radiox", "radio_csr",   "radio_kjah",   "radio_mastersounds",
                                  "radio_wctr",     "radio_tplayer", "radio_off"};

const char* const progressBarNames[] = {"00",  "10",  "20",  "30",  "40",  "50",  "60",  "70",  "80",  "90",
                                        "100", "110", "120", "130", "140", "150", "160", "170", "180", "190"};

template <int N>
constexpr int countOf(const char* const (&)[N])
{
    return N;
}

Sprite hudSprites[countOf(hudNames)];
Sprite radarRingSprites[countOf(radarRingNames)];
Sprite blipLevelSprites[countOf(blipLevelNames)];
Sprite weaponSprites[countOf(weaponNames)];
Sprite radioSprites[countOf(radioNames)];
Sprite progressBarSprites[countOf(progressBarNames)];

} // namespace

const SpriteTable spriteTables[SPRITE_TABLE_COUNT] = {
#define SPRITE_TABLE_ROW(id, slot, stem) {slot, stem##Names, countOf(stem##Names), stem##Sprites},
    SPRITE_TABLE_LIST(SPRITE_TABLE_ROW)
#undef SPRITE_TABLE_ROW
};

void constructSpriteTables()
{
    for (const SpriteTable& table : spriteTables)
        for (int i = 0; i < table.count; ++i)
            host::sprite_construct(&table.sprites[i]);
}

void destroySpriteTables()
{
    for (int t = SPRITE_TABLE_COUNT - 1; t >= 0; --t)
        for (int i = spriteTables[t].count - 1; i >= 0; --i)
            host::sprite_destruct(&spriteTables[t].sprites[i]);
}
