#pragma once

#include <cmath>
#include <cstdint>

#include "host/host.h"

// Reference lengths are given for a screen 1080 lines high. scale() converts one to the
// current render size (for text scales and float sizes); pixels() also truncates it to
// whole pixels (for positions and offsets). Inline: every element calls them many times
// a frame, the radar transform for every point.

// The shorter screen edge, as a float: the render size can change between frames, so it
// is read at every use.
inline float screenUnitLines()
{
    const int32_t width = host::screen_width.get();
    const int32_t height = host::screen_height.get();
    return static_cast<float>(width > height ? height : width);
}

// `lines` is screenUnitLines(): a caller converting several lengths reads the screen once.
inline float scaleFor(float lines, float length) { return lines * length / 1080.0f; }

// The integer part of v, never -0 (as a round trip through an integer gives it). From 2^23
// on every float is whole (or not a number), so only below that is a fraction dropped, by a
// round trip through a 32-bit integer.
inline float wholePart(float v)
{
    if (std::fabs(v) < 8388608.0f) [[likely]]
        return static_cast<float>(static_cast<int32_t>(v));
    return v + 0.0f;
}

inline float pixelsFor(float lines, float length) { return wholePart(scaleFor(lines, length)); }

inline float scale(float length) { return scaleFor(screenUnitLines(), length); }

// The screen as a frame sees it, read once where the host hands over (an element's entry
// point, or the HUD's and the radar's frame) and passed down: the size cannot change while
// the host waits for us, and the host calls between would make the compiler read it again
// for every length.
struct ScreenScale {
    float width = static_cast<float>(host::screen_width.get());
    float height = static_cast<float>(host::screen_height.get());
    // The shorter edge (as screenUnitLines: converting to float keeps the order of sizes).
    float lines = width > height ? height : width;
    float scale(float length) const { return scaleFor(lines, length); }
    float pixels(float length) const { return pixelsFor(lines, length); }
};
inline float pixels(float length) { return pixelsFor(screenUnitLines(), length); }
