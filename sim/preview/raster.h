#pragma once

#include <cstdint>

#include "host/types.h"
#include "txd/png.h"

// The preview's software rasteriser: triangles with per-vertex colours and texture
// coordinates, drawn into an R,G,B,A picture with the host's blending and scissor.

namespace sim::preview {

// The host's blend factors as far as the HUD uses them: the source either weighted by its
// alpha (the usual) or taken whole, and the destination either kept by the inverse of the
// source alpha (the usual) or kept whole (additive).
struct BlendMode {
    bool sourceWhole = false;
    bool destinationWhole = false;
};

// Pixels that may be drawn: [left, right) x [top, bottom).
struct ClipRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// One level of a texture as the host keeps it: B,G,R,A, rows top to bottom.
struct TextureView {
    int width = 0;
    int height = 0;
    const uint8_t* bgra = nullptr;
};

struct Vertex {
    float x, y;
    float u, v;
    Colour colour;
};

// A colour with channels from 0 to 1.
struct Shade {
    float r, g, b, a;
};

ClipRect wholeImage(const png::Image& image);
ClipRect intersect(const ClipRect& a, const ClipRect& b);

// The mip level to sample for a quad (corners in strip order, as drawQuad takes them) of a
// width x height texture with `levelCount` levels: the smallest whose texels are still no
// farther apart than the quad's pixels along either side, so a shrunk picture is filtered
// rather than skipped over; 0 for a quad drawn at its size or larger.
int fittingLevel(const Vertex corners[4], int width, int height, int levelCount);

// Bilinear, coordinates clamped to the texture's edges (u, v from 0 to 1 across it).
Shade sampleTexture(const TextureView& texture, float u, float v);

// Lays `shade` over the pixel at (x, y), which must lie in the image.
void blendPixel(png::Image& image, int x, int y, const Shade& shade, BlendMode blend);

// Every pixel whose centre lies inside the triangle, in either winding. Without a texture
// the interpolated vertex colour is drawn; with one, the texel tinted by it.
void drawTriangle(png::Image& image, const Vertex& a, const Vertex& b, const Vertex& c, const TextureView* texture,
                  BlendMode blend, const ClipRect& clip);

// Four corners in strip order (the triangles 0-1-2 and 1-3-2), as the host's quads take them.
void drawQuad(png::Image& image, const Vertex corners[4], const TextureView* texture, BlendMode blend,
              const ClipRect& clip);

} // namespace sim::preview
