#include "canvas.h"

#include <algorithm>
#include <cmath>

#include "pixel_font.h"

namespace art {

namespace {

constexpr float pi = 3.14159265f;
// Sub-samples per pixel side for the coverage of a shape's edge.
constexpr int samples = 4;

// Coverage of pixel (x, y) by a shape, by sampling it on a grid.
template <class Inside>
float coverage(int x, int y, Inside inside)
{
    int hits = 0;
    for (int sy = 0; sy < samples; ++sy)
        for (int sx = 0; sx < samples; ++sx)
            hits += inside(x + (sx + 0.5f) / samples, y + (sy + 0.5f) / samples);
    return static_cast<float>(hits) / (samples * samples);
}

template <class Inside>
void fill(Canvas& c, float left, float top, float right, float bottom, Rgba colour, Inside inside)
{
    int x0 = std::max(0, static_cast<int>(std::floor(left)));
    int y0 = std::max(0, static_cast<int>(std::floor(top)));
    int x1 = std::min(c.width, static_cast<int>(std::ceil(right)));
    int y1 = std::min(c.height, static_cast<int>(std::ceil(bottom)));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (float k = coverage(x, y, inside); k > 0)
                c.blend(x, y, colour, k);
}

} // namespace

Canvas::Canvas(int width, int height) : width(width), height(height), rgba(static_cast<size_t>(width) * height * 4, 0) {}

void Canvas::blend(int x, int y, Rgba colour, float k)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    float a = colour.a / 255.0f * k;
    float under = p[3] / 255.0f;
    float out = a + under * (1 - a);
    if (out <= 0)
        return;
    const uint8_t over[3] = {colour.r, colour.g, colour.b};
    for (int i = 0; i < 3; ++i)
        p[i] = static_cast<uint8_t>(std::lround((over[i] * a + p[i] * under * (1 - a)) / out));
    p[3] = static_cast<uint8_t>(std::lround(out * 255));
}

void Canvas::fillRect(float left, float top, float right, float bottom, Rgba colour)
{
    fill(*this, left, top, right, bottom, colour,
         [&](float x, float y) { return x >= left && x < right && y >= top && y < bottom; });
}

void Canvas::fillCircle(float cx, float cy, float radius, Rgba colour)
{
    ring(cx, cy, 0, radius, colour);
}

void Canvas::ring(float cx, float cy, float inner, float outer, Rgba colour, float from, float to)
{
    bool whole = to - from >= 360;
    fill(*this, cx - outer, cy - outer, cx + outer, cy + outer, colour, [&](float x, float y) {
        float dx = x - cx, dy = y - cy;
        float d2 = dx * dx + dy * dy;
        if (d2 < inner * inner || d2 > outer * outer)
            return false;
        if (whole)
            return true;
        float angle = std::atan2(dx, -dy) * 180 / pi; // clockwise from the top
        if (angle < 0)
            angle += 360;
        return angle >= from && angle <= to;
    });
}

void Canvas::fillPolygon(const std::vector<float>& xy, Rgba colour)
{
    float left = width, top = height, right = 0, bottom = 0;
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
        left = std::min(left, xy[i]);
        right = std::max(right, xy[i]);
        top = std::min(top, xy[i + 1]);
        bottom = std::max(bottom, xy[i + 1]);
    }
    size_t n = xy.size() / 2;
    fill(*this, left, top, right, bottom, colour, [&](float x, float y) {
        bool in = false;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
                in = !in;
        }
        return in;
    });
}

void Canvas::star(float cx, float cy, float outer, float inner, Rgba colour)
{
    std::vector<float> xy;
    for (int i = 0; i < 10; ++i) {
        float r = i % 2 ? inner : outer;
        float angle = i * pi / 5;
        xy.push_back(cx + r * std::sin(angle));
        xy.push_back(cy - r * std::cos(angle));
    }
    fillPolygon(xy, colour);
}

void Canvas::line(float x0, float y0, float x1, float y1, float w, Rgba colour)
{
    float dx = x1 - x0, dy = y1 - y0;
    float length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0)
        return;
    float nx = -dy / length * w / 2, ny = dx / length * w / 2;
    fillPolygon({x0 + nx, y0 + ny, x1 + nx, y1 + ny, x1 - nx, y1 - ny, x0 - nx, y0 - ny}, colour);
}

void Canvas::text(const char* s, int x, int y, int scale, Rgba colour)
{
    for (const char* p = s; *p; ++p) {
        if (const uint8_t* rows = glyphRows(*p))
            for (int r = 0; r < glyphHeight; ++r)
                for (int col = 0; col < glyphMaxWidth; ++col)
                    if (rows[r] & (0x10 >> col))
                        fillRect(x + col * scale, y + r * scale, x + (col + 1) * scale, y + (r + 1) * scale, colour);
        x += (glyphWidth(*p) + 1) * scale;
    }
}

void Canvas::textCentred(const char* s, float cx, float cy, int scale, Rgba colour)
{
    int x = static_cast<int>(std::lround(cx - textWidth(s) * scale / 2.0f));
    int y = static_cast<int>(std::lround(cy - glyphHeight * scale / 2.0f));
    text(s, x, y, scale, colour);
}

int fittingScale(const char* text, int width, int maxScale)
{
    int scale = maxScale;
    while (scale > 1 && textWidth(text) * scale > width)
        --scale;
    return scale;
}

} // namespace art
