#include "mip_chain.h"

namespace txd {

std::vector<uint8_t> halvedLevel(const std::vector<uint8_t>& level, uint16_t width, uint16_t height)
{
    const unsigned w = levelWidth(width, 1), h = levelHeight(height, 1);
    std::vector<uint8_t> out(std::size_t{w} * h * 4);
    for (unsigned y = 0; y < h; ++y) {
        // The block of source rows this row covers: [y0, y1), all rows between them.
        const unsigned y0 = y * height / h, y1 = (y + 1) * height / h;
        for (unsigned x = 0; x < w; ++x) {
            const unsigned x0 = x * width / w, x1 = (x + 1) * width / w;
            uint64_t alpha = 0, weighted[3] = {}, plain[3] = {};
            for (unsigned sy = y0; sy < y1; ++sy)
                for (unsigned sx = x0; sx < x1; ++sx) {
                    const uint8_t* p = &level[(std::size_t{sy} * width + sx) * 4];
                    alpha += p[3];
                    for (int c = 0; c < 3; ++c) {
                        weighted[c] += uint64_t{p[c]} * p[3];
                        plain[c] += p[c];
                    }
                }
            const uint64_t count = uint64_t{x1 - x0} * (y1 - y0);
            uint8_t* q = &out[(std::size_t{y} * w + x) * 4];
            for (int c = 0; c < 3; ++c)
                // A wholly clear block keeps its plain colour: a tint of it still shows nothing.
                q[c] = static_cast<uint8_t>(alpha ? (weighted[c] + alpha / 2) / alpha : (plain[c] + count / 2) / count);
            q[3] = static_cast<uint8_t>((alpha + count / 2) / count);
        }
    }
    return out;
}

void addMipChain(Texture& texture)
{
    for (;;) {
        const unsigned last = static_cast<unsigned>(texture.levels.size()) - 1;
        const uint16_t w = levelWidth(texture.width, last), h = levelHeight(texture.height, last);
        if (w == 1 && h == 1)
            return;
        texture.levels.push_back(halvedLevel(texture.levels[last], w, h));
    }
}

uint64_t mipChainSize(const Texture& texture)
{
    uint64_t size = 0;
    for (unsigned i = static_cast<unsigned>(texture.levels.size());
         levelWidth(texture.width, i - 1) > 1 || levelHeight(texture.height, i - 1) > 1; ++i)
        size += 4 + levelSize(texture.width, texture.height, i); // its size field and pixels
    return size;
}

} // namespace txd
