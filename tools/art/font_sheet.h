#pragma once

#include <array>
#include <string>
#include <vector>

#include "txd/png.h"

// The font sheets the host draws its text from, and the widths it needs to set that text:
// characters 32 (space) to 127 in a grid of 16 columns of square cells, drawn from
// DejaVu Sans by rsvg-convert. The widths are measured from the rendered sheets, so they
// are what was drawn.

namespace art {

constexpr int fontFirstChar = 32;
constexpr int fontCharCount = 96;
constexpr int fontColumns = 16;
constexpr int fontCell = 32;
constexpr int fontSheetWidth = fontColumns * fontCell;  // 512
constexpr int fontSheetHeight = 8 * fontCell;           // 256: six rows used, a power of two
constexpr int fontGlyphLeft = 3;                        // where each glyph's pen starts in its cell
constexpr int fontSpaceWidth = 9;                       // the space has no ink to measure

// The sheet of font `font` (0 font1, 1 font2) in a style variant.
std::string fontSheet(int font, int variant);

using GlyphWidths = std::array<int, fontCharCount>;

// Width of each character in sheet pixels: from the cell's left edge to one column past
// its rightmost inked pixel, plus one of spacing; the space and empty cells take
// fontSpaceWidth. False if the sheet is not fontSheetWidth x fontSheetHeight.
bool measureGlyphs(const png::Image& sheet, GlyphWidths& out);

// The widest of each character over several sheets: one data file serves every variant.
GlyphWidths widest(const std::vector<GlyphWidths>& sheets);

// The font data file: a comment, then per sheet its texture name and its 96 widths.
std::string fontData(const std::vector<std::string>& names, const std::vector<GlyphWidths>& widths);

} // namespace art
