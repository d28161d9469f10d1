#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture being drawn: R,G,B,A pixels with simple anti-aliased shapes, enough for plain
// but legible HUD art.

namespace art {

struct Rgba {
    uint8_t r, g, b, a;
};

struct Canvas {
    int width, height;
    std::vector<uint8_t> rgba;

    Canvas(int width, int height);

    // Blends a colour over pixel (x, y) with the given coverage (0..1).
    void blend(int x, int y, Rgba colour, float coverage);
    void fillRect(float left, float top, float right, float bottom, Rgba colour);
    void fillCircle(float cx, float cy, float radius, Rgba colour);
    // A ring between two radii; with an arc, only the part from angle `from` to `to`
    // (degrees, clockwise from the top).
    void ring(float cx, float cy, float inner, float outer, Rgba colour, float from = 0, float to = 360);
    // A filled polygon (even-odd rule).
    void fillPolygon(const std::vector<float>& xy, Rgba colour);
    // A five-pointed star.
    void star(float cx, float cy, float outer, float inner, Rgba colour);
    void line(float x0, float y0, float x1, float y1, float width, Rgba colour);
    // Text in the pixel font, each font pixel `scale` canvas pixels, centred on (cx, cy).
    void textCentred(const char* text, float cx, float cy, int scale, Rgba colour);
    // Text with its top left at (x, y).
    void text(const char* text, int x, int y, int scale, Rgba colour);
};

// The largest scale at which the text fits the width.
int fittingScale(const char* text, int width, int maxScale);

} // namespace art
