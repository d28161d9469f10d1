#pragma once

#include <cstdint>
#include <vector>

#include "txd.h"

// Mip levels for a texture drawn smaller than its size: without them the host samples
// level 0 sparsely and a shrunk picture breaks up.

namespace txd {

// Level i + 1 from level i of a width x height texture (B,G,R,A): each pixel the box
// average of the block of level i it covers (2x2, or 3 wide or high at an odd edge, 1 where
// that side is already 1). Colours are weighted by alpha, so a clear pixel's colour does not
// bleed into an outline; alpha is the plain average.
std::vector<uint8_t> halvedLevel(const std::vector<uint8_t>& level, uint16_t width, uint16_t height);

// Adds the levels a texture lacks, halving its last level down to 1x1. A texture must have
// level 0 and pass check; its existing levels are kept.
void addMipChain(Texture& texture);

// The bytes addMipChain would add to the texture's dictionary file.
uint64_t mipChainSize(const Texture& texture);

} // namespace txd
