#pragma once

#include <cstdint>

// A small built-in pixel font for the generated art: 5x7 glyphs, upper case (lower case
// letters draw as upper case), digits and a little punctuation.

namespace art {

constexpr int glyphHeight = 7;
constexpr int glyphMaxWidth = 5;

// Rows of the glyph of a character, top first, bit 4 the leftmost column; nullptr for a
// character the font does not have.
const uint8_t* glyphRows(char c);
// Columns the glyph uses (its advance is this plus one column of space); 3 for a space.
int glyphWidth(char c);
// Width in font pixels of a text drawn with one column between glyphs.
int textWidth(const char* text);

} // namespace art
