#include "preview/font.h"

#include <fstream>
#include <iterator>
#include <memory>

#include "text/utf8_path.h"

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

namespace sim::preview {

namespace {

struct Face {
    std::string path;
    std::vector<unsigned char> data;
    stbtt_fontinfo info{};
    FaceMetrics metrics;
};

std::vector<std::unique_ptr<Face>> faces;

FaceMetrics measure(const stbtt_fontinfo& info)
{
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &gap);
    float total = 0.0f;
    int n = 0;
    for (int c = 0x20; c < 0x7F; ++c, ++n) {
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&info, c, &advance, &bearing);
        total += static_cast<float>(advance);
    }
    return {static_cast<float>(ascent), static_cast<float>(descent), total / static_cast<float>(n)};
}

} // namespace

int openFace(const std::string& path, std::string& error)
{
    for (size_t i = 0; i < faces.size(); ++i)
        if (faces[i]->path == path)
            return static_cast<int>(i);
    std::ifstream in(utf8Path(path), std::ios::binary);
    if (!in) {
        error = "cannot read the font " + path;
        return -1;
    }
    auto face = std::make_unique<Face>();
    face->path = path;
    face->data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    int offset = stbtt_GetFontOffsetForIndex(face->data.data(), 0);
    if (face->data.size() < 12 || offset < 0 || !stbtt_InitFont(&face->info, face->data.data(), offset)) {
        error = "the font " + path + " is not a TrueType font";
        return -1;
    }
    face->metrics = measure(face->info);
    faces.push_back(std::move(face));
    return static_cast<int>(faces.size() - 1);
}

const FaceMetrics& faceMetrics(int face) { return faces[static_cast<size_t>(face)]->metrics; }

float glyphAdvance(int face, uint32_t codepoint)
{
    int advance = 0, bearing = 0;
    stbtt_GetCodepointHMetrics(&faces[static_cast<size_t>(face)]->info, static_cast<int>(codepoint), &advance, &bearing);
    return static_cast<float>(advance);
}

float glyphKerning(int face, uint32_t a, uint32_t b)
{
    return static_cast<float>(
        stbtt_GetCodepointKernAdvance(&faces[static_cast<size_t>(face)]->info, static_cast<int>(a), static_cast<int>(b)));
}

void renderGlyph(int face, uint32_t codepoint, float scaleX, float scaleY, float shiftX, GlyphBitmap& out)
{
    const stbtt_fontinfo& info = faces[static_cast<size_t>(face)]->info;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetCodepointBitmapBoxSubpixel(&info, static_cast<int>(codepoint), scaleX, scaleY, shiftX, 0.0f, &x0, &y0, &x1,
                                        &y1);
    out.width = x1 > x0 ? x1 - x0 : 0;
    out.height = y1 > y0 ? y1 - y0 : 0;
    out.left = x0;
    out.top = y0;
    out.coverage.assign(static_cast<size_t>(out.width) * static_cast<size_t>(out.height), 0);
    if (out.width && out.height)
        stbtt_MakeCodepointBitmapSubpixel(&info, out.coverage.data(), out.width, out.height, out.width, scaleX, scaleY,
                                          shiftX, 0.0f, static_cast<int>(codepoint));
}

} // namespace sim::preview
