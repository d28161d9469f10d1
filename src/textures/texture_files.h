#pragma once

#include <cstdint>

#include "textures/sprite_tables.h"

// The plug-in's texture files, relative to its folder. The radar rings and the fonts come
// in the three styles of data/style_variant.h; their names lie in styleFile's buffer: use
// them at once.

const char* radarDictionaryFile(int32_t vesk);
const char* fontDictionaryFile(int32_t vesk);
// The dictionary a sprite table loads from.
const char* spriteTableFile(SpriteTableId table, int32_t vesk);

inline constexpr const char* fontDataFile = "kell-hud\\data\\fonts.dat";
inline constexpr const char* blipDictionaryFile = "kell-hud\\textures\\blips.txd";
