#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host_state.h"
#include "preview/raster.h"

// The host's text as the preview draws it, from the host's text state:
//
// - Size: the host's glyph cell at scale (1, 1) is 10 pixels wide (what its width measure
//   counts per character) and 20 pixels tall on its screen. A text scale (sx, sy) draws
//   the font 20 x sy pixels from the top of its tallest glyph to the bottom of its lowest,
//   stretched across so that its average character is 10 x sx pixels wide. Lines lie
//   20 x sy pixels apart.
// - font: 0 DejaVu Serif Bold, 1 and 2 DejaVu Sans Bold, 3 DejaVu Sans Mono Bold.
// - alignment: 0 centres each line on x, 1 starts it at x, 2 ends it at x.
// - Line width (wrapping at spaces; a word wider than the line keeps a line of its own):
//   starting at x, the line ends at width_c; centred, the line is width_a wide; ending at
//   x, the line starts at width_b. A line width of 0 or less does not wrap.
// - flag_p: proportional characters; 0 gives every character the cell's width.
// - flag_r: an outline of that many pixels in the second colour; otherwise flag_s: a drop
//   shadow that many pixels right and down in the second colour. flag_q (justified lines)
//   is not drawn differently.
// - mode_pair: the first non-zero draws a box in the box colour behind the lines, a quarter
//   of a line beyond them; the second non-zero widens the box to the line width.
// - alpha (0 to 255) fades the colour, the second colour and the box alike.
// - text_print places the first line's top at y; text_print_b the last line's bottom.

namespace sim::preview {

struct TextLine {
    size_t start = 0, length = 0;
    float left = 0.0f, top = 0.0f, width = 0.0f;
};

struct TextLayout {
    std::vector<TextLine> lines;
    float lineHeight = 0.0f;
    ClipRect box; // the box behind the text, empty when none
};

// Opens the fonts; false with a reason when a font file is missing.
bool openTextFonts(std::string& error);

TextLayout layoutText(const TextState& state, float x, float y, std::string_view text, bool fromBottom);
void drawText(png::Image& image, const TextState& state, float x, float y, std::string_view text, bool fromBottom,
              const ClipRect& clip);

} // namespace sim::preview
