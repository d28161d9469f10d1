#include "preview/raster.h"

#include <algorithm>
#include <cmath>

namespace sim::preview {

namespace {

float channel(uint8_t value) { return static_cast<float>(value) / 255.0f; }

uint8_t toByte(float value) { return static_cast<uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f); }

Shade shadeOf(Colour c) { return {channel(c.r), channel(c.g), channel(c.b), channel(c.a)}; }

Shade texel(const TextureView& t, int x, int y)
{
    const uint8_t* p = t.bgra + (static_cast<size_t>(y) * t.width + x) * 4;
    return {channel(p[2]), channel(p[1]), channel(p[0]), channel(p[3])};
}

Shade mix(const Shade& a, const Shade& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// Twice the signed area of (a, b, p).
float edge(float ax, float ay, float bx, float by, float px, float py)
{
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

} // namespace

ClipRect wholeImage(const png::Image& image) { return {0, 0, image.width, image.height}; }

ClipRect intersect(const ClipRect& a, const ClipRect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

int fittingLevel(const Vertex corners[4], int width, int height, int levelCount)
{
    // Texels per pixel along the side from corner 0 to corner `to`.
    auto texelsPerPixel = [&](const Vertex& to) {
        float pixels = std::hypot(to.x - corners[0].x, to.y - corners[0].y);
        float texels = std::hypot((to.u - corners[0].u) * static_cast<float>(width),
                                  (to.v - corners[0].v) * static_cast<float>(height));
        return pixels > 0.0f ? texels / pixels : 0.0f;
    };
    float ratio = std::max(texelsPerPixel(corners[1]), texelsPerPixel(corners[2]));
    int level = 0;
    while (level + 1 < levelCount && ratio >= 2.0f) { // NaN stays at level 0
        ratio /= 2.0f;
        ++level;
    }
    return level;
}

Shade sampleTexture(const TextureView& texture, float u, float v)
{
    if (texture.width <= 0 || texture.height <= 0 || !texture.bgra)
        return {1.0f, 1.0f, 1.0f, 1.0f};
    if (!std::isfinite(u) || !std::isfinite(v))
        u = v = 0.0f;
    // Texel centres lie at (i + 0.5) / size.
    float fx = std::clamp(u * texture.width - 0.5f, 0.0f, static_cast<float>(texture.width - 1));
    float fy = std::clamp(v * texture.height - 0.5f, 0.0f, static_cast<float>(texture.height - 1));
    int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    int x1 = std::min(x0 + 1, texture.width - 1), y1 = std::min(y0 + 1, texture.height - 1);
    float tx = fx - static_cast<float>(x0), ty = fy - static_cast<float>(y0);
    Shade top = mix(texel(texture, x0, y0), texel(texture, x1, y0), tx);
    Shade bottom = mix(texel(texture, x0, y1), texel(texture, x1, y1), tx);
    return mix(top, bottom, ty);
}

void blendPixel(png::Image& image, int x, int y, const Shade& s, BlendMode blend)
{
    uint8_t* p = &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
    float source = blend.sourceWhole ? 1.0f : s.a;
    float keep = blend.destinationWhole ? 1.0f : 1.0f - s.a;
    p[0] = toByte(s.r * source + channel(p[0]) * keep);
    p[1] = toByte(s.g * source + channel(p[1]) * keep);
    p[2] = toByte(s.b * source + channel(p[2]) * keep);
    p[3] = toByte(s.a + channel(p[3]) * (1.0f - s.a));
}

namespace {

// A pixel centre exactly on an edge belongs to one of the two triangles that share it: to
// the one that runs the edge downwards (or rightwards, when level), so that a quad's
// diagonal is drawn once.
bool ownsEdge(float ex, float ey, float value)
{
    return value > 0.0f || (value == 0.0f && (ey > 0.0f || (ey == 0.0f && ex > 0.0f)));
}

} // namespace

void drawTriangle(png::Image& image, const Vertex& a, const Vertex& b0, const Vertex& c0, const TextureView* texture,
                  BlendMode blend, const ClipRect& clip)
{
    float area = edge(a.x, a.y, b0.x, b0.y, c0.x, c0.y);
    if (!(std::fabs(area) > 0.0f) || !std::isfinite(area))
        return; // degenerate, or not a number
    // One winding from here on: the edge values are positive inside.
    const Vertex& b = area > 0.0f ? b0 : c0;
    const Vertex& c = area > 0.0f ? c0 : b0;
    area = std::fabs(area);
    ClipRect box = intersect(clip, wholeImage(image));
    float minX = std::min({a.x, b.x, c.x}), maxX = std::max({a.x, b.x, c.x});
    float minY = std::min({a.y, b.y, c.y}), maxY = std::max({a.y, b.y, c.y});
    int left = std::max(box.left, static_cast<int>(std::floor(std::max(minX, -1.0f))));
    int right = std::min(box.right, static_cast<int>(std::ceil(std::min(maxX, 1e6f))));
    int top = std::max(box.top, static_cast<int>(std::floor(std::max(minY, -1.0f))));
    int bottom = std::min(box.bottom, static_cast<int>(std::ceil(std::min(maxY, 1e6f))));
    Shade ca = shadeOf(a.colour), cb = shadeOf(b.colour), cc = shadeOf(c.colour);
    for (int y = top; y < bottom; ++y) {
        float py = static_cast<float>(y) + 0.5f;
        for (int x = left; x < right; ++x) {
            float px = static_cast<float>(x) + 0.5f;
            float ea = edge(b.x, b.y, c.x, c.y, px, py);
            float eb = edge(c.x, c.y, a.x, a.y, px, py);
            float ec = edge(a.x, a.y, b.x, b.y, px, py);
            if (!ownsEdge(c.x - b.x, c.y - b.y, ea) || !ownsEdge(a.x - c.x, a.y - c.y, eb) ||
                !ownsEdge(b.x - a.x, b.y - a.y, ec))
                continue;
            float wa = ea / area, wb = eb / area, wc = ec / area;
            Shade s = {ca.r * wa + cb.r * wb + cc.r * wc, ca.g * wa + cb.g * wb + cc.g * wc,
                       ca.b * wa + cb.b * wb + cc.b * wc, ca.a * wa + cb.a * wb + cc.a * wc};
            if (texture) {
                Shade t = sampleTexture(*texture, a.u * wa + b.u * wb + c.u * wc, a.v * wa + b.v * wb + c.v * wc);
                s = {s.r * t.r, s.g * t.g, s.b * t.b, s.a * t.a};
            }
            blendPixel(image, x, y, s, blend);
        }
    }
}

void drawQuad(png::Image& image, const Vertex corners[4], const TextureView* texture, BlendMode blend,
              const ClipRect& clip)
{
    drawTriangle(image, corners[0], corners[1], corners[2], texture, blend, clip);
    drawTriangle(image, corners[1], corners[3], corners[2], texture, blend, clip);
}

} // namespace sim::preview
