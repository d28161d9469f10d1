#pragma once

#include <cstdint>

#include "textures/sprite_tables.h"

// The plug-in's texture files, relative to its folder. The radar rings and the fonts come
// in three styles, chosen by iVesk: 1 mora, 2 sabel, anything else the base style.

const char* radarDictionaryFile(int32_t vesk);
const char* fontDictionaryFile(int32_t vesk);
// The dictionary a sprite table loads from.
const char* spriteTableFile(SpriteTableId table, int32_t vesk);

inline constexpr const char* fontDataFile = "kell-hud\\data\\fonts.dat";
inline constexpr const char* blipDictionaryFile = "kell-hud\\textures\\blips.txd";
