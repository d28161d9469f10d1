#include "data/screen_unit.h"

#include <cmath>
#include <cstdint>

#include "host/host.h"

float scale(float length)
{
    // The render size can change between frames, so it is read at every use.
    const int32_t width = host::screen_width.get();
    const int32_t height = host::screen_height.get();
    const int32_t shorter = width > height ? height : width;
    return static_cast<float>(shorter) * length / 1080.0f;
}

float pixels(float length)
{
    // Adding +0 turns a truncated -0 into 0, as a round trip through an integer would.
    return std::trunc(scale(length)) + 0.0f;
}
