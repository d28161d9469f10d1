#include "preview/map_texture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace sim::preview {

namespace {

struct Rgb {
    uint8_t r, g, b;
};

constexpr Rgb land = {86, 98, 84};
constexpr Rgb block = {102, 112, 98};
constexpr Rgb street = {170, 170, 164};
constexpr Rgb highway = {214, 190, 120};
constexpr Rgb water = {58, 92, 130};
constexpr uint8_t mapAlpha = 235;

float shoreAt(float y) { return 60.0f + 18.0f * std::sin(y * 0.045f) + 9.0f * std::sin(y * 0.13f + 1.0f); }

Rgb groundAt(int x, int y)
{
    float fx = static_cast<float>(x), fy = static_cast<float>(y);
    if (fx < shoreAt(fy))
        return water;
    // Highways: one across, one at a slant.
    if (std::abs(y - 150) <= 2 || std::fabs(fx - 0.6f * fy - 120.0f) <= 2.5f)
        return highway;
    if (x % 32 < 3 || y % 32 < 3)
        return street;
    return (x / 32 + y / 32) % 3 == 0 ? block : land;
}

std::vector<uint8_t> makeMap()
{
    std::vector<uint8_t> bgra(static_cast<size_t>(mapTextureSize) * mapTextureSize * 4);
    const float centre = mapTextureSize * 0.5f;
    for (int y = 0; y < mapTextureSize; ++y)
        for (int x = 0; x < mapTextureSize; ++x) {
            Rgb c = groundAt(x, y);
            float dx = static_cast<float>(x) + 0.5f - centre, dy = static_cast<float>(y) + 0.5f - centre;
            // The disc's rim is softened over one texel.
            float inside = std::clamp(centre - std::sqrt(dx * dx + dy * dy), 0.0f, 1.0f);
            uint8_t* p = &bgra[(static_cast<size_t>(y) * mapTextureSize + x) * 4];
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
            p[3] = static_cast<uint8_t>(mapAlpha * inside);
        }
    return bgra;
}

} // namespace

TextureView mapTexture()
{
    static const std::vector<uint8_t> pixels = makeMap();
    return {mapTextureSize, mapTextureSize, pixels.data()};
}

} // namespace sim::preview
