#pragma once

#include <cstdint>
#include <vector>

#include "preview/raster.h"

// The host's radar map as the preview shows it: a generated piece of town (blocks of land,
// a grid of streets, two highways and a shore with water), the same in every run, cut to
// the radar's disc.

namespace sim::preview {

constexpr int mapTextureSize = 256;

// B,G,R,A, mapTextureSize square, made on first use.
TextureView mapTexture();

} // namespace sim::preview
