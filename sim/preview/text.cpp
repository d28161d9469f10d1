#include "preview/text.h"

#include <algorithm>
#include <cmath>

#include "preview/font.h"
#include "preview/font_folder.h"

namespace sim::preview {

namespace {

constexpr float cellWidth = 10.0f;
constexpr float cellHeight = 20.0f;
const char* const fontFiles[4] = {"DejaVuSerif-Bold.ttf", "DejaVuSans-Bold.ttf", "DejaVuSans-Bold.ttf",
                                  "DejaVuSansMono-Bold.ttf"};
int faceOfFont[4] = {-1, -1, -1, -1};

struct Metrics {
    int face;
    float scaleX, scaleY; // pixels per font unit
    float ascent;         // pixels above the baseline
    float cell;           // the fixed advance
    bool proportional;
};

Metrics metricsOf(const TextState& state)
{
    int font = std::clamp(state.font, 0, 3);
    const FaceMetrics& face = faceMetrics(faceOfFont[font]);
    float sx = std::fabs(state.scale.x), sy = std::fabs(state.scale.y);
    float scaleY = cellHeight * sy / (face.ascent - face.descent);
    float scaleX = cellWidth * sx / face.averageAdvance;
    return {faceOfFont[font], scaleX, scaleY, face.ascent * scaleY, cellWidth * sx, state.flagP != 0};
}

uint32_t codepoint(char c) { return static_cast<unsigned char>(c); }

float advance(const Metrics& m, std::string_view text, size_t i)
{
    if (!m.proportional)
        return m.cell;
    float units = glyphAdvance(m.face, codepoint(text[i]));
    if (i + 1 < text.size())
        units += glyphKerning(m.face, codepoint(text[i]), codepoint(text[i + 1]));
    return units * m.scaleX;
}

float measure(const Metrics& m, std::string_view text, size_t start, size_t length)
{
    float width = 0.0f;
    for (size_t i = start; i < start + length; ++i)
        width += advance(m, text, i);
    return width;
}

float lineRoom(const TextState& state, float x)
{
    switch (state.alignment) {
    case 0:
        return state.widthA;
    case 2:
        return x - state.widthB;
    default:
        return state.widthC - x;
    }
}

// Breaks at spaces so that each line fits the room; the spaces at a break are dropped.
std::vector<TextLine> breakLines(const Metrics& m, std::string_view text, float room)
{
    std::vector<TextLine> lines;
    size_t start = 0;
    while (true) {
        size_t end = start, fits = std::string_view::npos;
        while (end < text.size()) {
            size_t next = text.find(' ', end + 1);
            if (next == std::string_view::npos)
                next = text.size();
            if (room > 0.0f && fits != std::string_view::npos && measure(m, text, start, next - start) > room)
                break;
            fits = end = next;
        }
        lines.push_back({start, end - start});
        if (end >= text.size())
            return lines;
        start = end;
        while (start < text.size() && text[start] == ' ')
            ++start;
        if (start >= text.size())
            return lines;
    }
}

float lineLeft(const TextState& state, float x, float width)
{
    switch (state.alignment) {
    case 0:
        return x - width * 0.5f;
    case 2:
        return x - width;
    default:
        return x;
    }
}

ClipRect boxAround(const TextState& state, float x, const TextLayout& layout)
{
    if (!state.modePair[0] || layout.lines.empty())
        return {};
    float left = 1e9f, right = -1e9f;
    for (const TextLine& line : layout.lines) {
        left = std::min(left, line.left);
        right = std::max(right, line.left + line.width);
    }
    if (state.modePair[1]) {
        float room = lineRoom(state, x);
        if (room > 0.0f) {
            left = std::min(left, state.alignment == 0 ? x - room * 0.5f : state.alignment == 2 ? x - room : x);
            right = std::max(right, state.alignment == 0 ? x + room * 0.5f : state.alignment == 2 ? x : x + room);
        }
    }
    float pad = layout.lineHeight * 0.25f;
    float top = layout.lines.front().top;
    float bottom = layout.lines.back().top + layout.lineHeight;
    return {static_cast<int>(std::floor(left - pad)), static_cast<int>(std::floor(top - pad)),
            static_cast<int>(std::ceil(right + pad)), static_cast<int>(std::ceil(bottom + pad))};
}

Colour faded(Colour c, float alpha)
{
    float fade = std::clamp(alpha, 0.0f, 255.0f) / 255.0f;
    c.a = static_cast<uint8_t>(static_cast<float>(c.a) * fade + 0.5f);
    return c;
}

void blitGlyph(png::Image& image, const GlyphBitmap& glyph, int penX, int penY, Colour colour, const ClipRect& clip)
{
    ClipRect area = intersect(clip, wholeImage(image));
    for (int gy = 0; gy < glyph.height; ++gy) {
        int y = penY + glyph.top + gy;
        if (y < area.top || y >= area.bottom)
            continue;
        for (int gx = 0; gx < glyph.width; ++gx) {
            int x = penX + glyph.left + gx;
            uint8_t cover = glyph.coverage[static_cast<size_t>(gy) * glyph.width + gx];
            if (x < area.left || x >= area.right || !cover)
                continue;
            float a = static_cast<float>(colour.a) / 255.0f * static_cast<float>(cover) / 255.0f;
            blendPixel(image, x, y, {colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, a}, BlendMode{});
        }
    }
}

// One pass of every line in one colour, moved by (dx, dy).
void drawLines(png::Image& image, const Metrics& m, const TextLayout& layout, std::string_view text, int dx, int dy,
               Colour colour, const ClipRect& clip)
{
    GlyphBitmap glyph;
    for (const TextLine& line : layout.lines) {
        float pen = line.left;
        int baseline = static_cast<int>(std::lround(line.top + m.ascent)) + dy;
        for (size_t i = line.start; i < line.start + line.length; ++i) {
            float step = advance(m, text, i);
            float glyphX = pen;
            if (!m.proportional) // centred in its cell
                glyphX += (m.cell - glyphAdvance(m.face, codepoint(text[i])) * m.scaleX) * 0.5f;
            float whole = std::floor(glyphX);
            renderGlyph(m.face, codepoint(text[i]), m.scaleX, m.scaleY, glyphX - whole, glyph);
            blitGlyph(image, glyph, static_cast<int>(whole) + dx, baseline, colour, clip);
            pen += step;
        }
    }
}

// A scale beyond any screen, or a place or scale that is not a number, draws nothing: the
// glyphs would not fit in memory or on a screen.
bool drawable(const TextState& state, float x, float y)
{
    const float largest = 100.0f;
    float sx = std::fabs(state.scale.x), sy = std::fabs(state.scale.y);
    return sx > 0.0f && sx <= largest && sy > 0.0f && sy <= largest && std::fabs(x) < 1e6f && std::fabs(y) < 1e6f;
}

} // namespace

bool openTextFonts(std::string& error)
{
    for (int i = 0; i < 4; ++i) {
        faceOfFont[i] = openFace(previewFontFolder() + fontFiles[i], error);
        if (faceOfFont[i] < 0) {
            error += previewFontHint();
            return false;
        }
    }
    return true;
}

TextLayout layoutText(const TextState& state, float x, float y, std::string_view text, bool fromBottom)
{
    Metrics m = metricsOf(state);
    TextLayout layout;
    layout.lineHeight = cellHeight * std::fabs(state.scale.y);
    layout.lines = breakLines(m, text, lineRoom(state, x));
    float top = fromBottom ? y - layout.lineHeight * static_cast<float>(layout.lines.size()) : y;
    for (TextLine& line : layout.lines) {
        line.width = measure(m, text, line.start, line.length);
        line.left = lineLeft(state, x, line.width);
        line.top = top;
        top += layout.lineHeight;
    }
    layout.box = boxAround(state, x, layout);
    return layout;
}

void drawText(png::Image& image, const TextState& state, float x, float y, std::string_view text, bool fromBottom,
              const ClipRect& clip)
{
    if (!drawable(state, x, y))
        return;
    Metrics m = metricsOf(state);
    TextLayout layout = layoutText(state, x, y, text, fromBottom);
    if (layout.box.right > layout.box.left) {
        Colour box = faded(state.boxColour, state.alpha);
        Vertex corners[4] = {{float(layout.box.left), float(layout.box.top), 0, 0, box},
                             {float(layout.box.right), float(layout.box.top), 1, 0, box},
                             {float(layout.box.left), float(layout.box.bottom), 0, 1, box},
                             {float(layout.box.right), float(layout.box.bottom), 1, 1, box}};
        drawQuad(image, corners, nullptr, BlendMode{}, clip);
    }
    Colour second = faded(state.secondColour, state.alpha);
    if (int r = state.flagR) {
        for (int dy = -r; dy <= r; dy += r)
            for (int dx = -r; dx <= r; dx += r)
                if (dx || dy)
                    drawLines(image, m, layout, text, dx, dy, second, clip);
    } else if (int s = state.flagS) {
        drawLines(image, m, layout, text, s, s, second, clip);
    }
    drawLines(image, m, layout, text, 0, 0, faded(state.colour, state.alpha), clip);
}

} // namespace sim::preview
