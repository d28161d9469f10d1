#pragma once

#include <cstdint>
#include <string>

#include "property.h"
#include "txd/txd.h"

// What the dictionary harnesses compare: a dictionary as the writer writes it (the device
// id is always the writer's own).
inline bool sameTexture(const txd::Texture& a, const txd::Texture& b)
{
    return a.name == b.name && a.mask == b.mask && a.filtering == b.filtering && a.width == b.width &&
           a.height == b.height && a.hasAlpha == b.hasAlpha && a.levels == b.levels;
}

inline bool sameTextures(const txd::Dictionary& a, const txd::Dictionary& b)
{
    if (a.textures.size() != b.textures.size())
        return false;
    for (size_t i = 0; i < a.textures.size(); ++i)
        if (!sameTexture(a.textures[i], b.textures[i]))
            return false;
    return true;
}

// Every level holds all its pixels: width x height x 4 bytes, counted without wrapping.
inline void requireWholeLevels(const txd::Texture& t)
{
    for (unsigned i = 0; i < t.levels.size(); ++i) {
        const uint64_t pixels = uint64_t{txd::levelWidth(t.width, i)} * txd::levelHeight(t.height, i);
        require(t.levels[i].size() == pixels * 4, "a level holds 4 bytes for each of its pixels",
                      t.name + ": " + std::to_string(t.width) + "x" + std::to_string(t.height) + " level " +
                          std::to_string(i) + " holds " + std::to_string(t.levels[i].size()) + " bytes");
    }
}
