#pragma once

#include <cstdint>
#include <string>
#include <vector>

// TrueType faces for the preview's text, read from font files of the system and drawn by
// stb_truetype. Faces are opened once per file and kept for the life of the program.

namespace sim::preview {

struct GlyphBitmap {
    int width = 0, height = 0;
    int left = 0, top = 0; // offset of the bitmap from the pen position on the baseline
    std::vector<uint8_t> coverage; // width * height, 0 to 255
};

struct FaceMetrics {
    float ascent = 0.0f, descent = 0.0f; // font units; descent is negative
    float averageAdvance = 0.0f;         // font units, over the printable ASCII characters
};

// The face of a font file: an index for the functions below, or -1 with `error` set.
int openFace(const std::string& path, std::string& error);
const FaceMetrics& faceMetrics(int face);
// The codepoint's advance in font units, and the kerning between two codepoints.
float glyphAdvance(int face, uint32_t codepoint);
float glyphKerning(int face, uint32_t a, uint32_t b);
// The glyph's coverage at the given scales (pixels per font unit), shifted right by a
// fraction of a pixel.
void renderGlyph(int face, uint32_t codepoint, float scaleX, float scaleY, float shiftX, GlyphBitmap& out);

} // namespace sim::preview
