#pragma once

#include <cstdint>

// Host value types, laid out as the host keeps them.

struct Colour {
    uint8_t r, g, b, a;
};

// A host rectangle, its four numbers in the order the host's constructor takes them.
struct Rect {
    float left, top, right, bottom;
};

struct Vec2 {
    float x, y;
};

struct Vec3 {
    float x, y, z;
};

static_assert(sizeof(Colour) == 4 && sizeof(Rect) == 16 && sizeof(Vec2) == 8 && sizeof(Vec3) == 12);

// A host sprite handle: one word that holds the bound texture, or 0.
struct Sprite {
    uint32_t texture;
};

static_assert(sizeof(Sprite) == 4);
