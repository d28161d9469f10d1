#pragma once

#include <cstdint>
#include <string>
#include <vector>

// PNG files as the tools use them: 8-bit R,G,B,A pixels, rows top to bottom.

namespace png {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba; // width * height * 4
};

// Reads any PNG (grey, palette, with or without alpha) as R,G,B,A. On failure returns
// false with the decoder's reason in `error`.
bool read(const std::string& path, Image& out, std::string& error);
bool write(const std::string& path, const Image& image, std::string& error);

} // namespace png
