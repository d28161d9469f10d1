#include "png.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

namespace png {

bool read(const std::string& path, Image& out, std::string& error)
{
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (!pixels) {
        const char* reason = stbi_failure_reason();
        error = reason ? reason : "unknown reason";
        return false;
    }
    out.width = width;
    out.height = height;
    out.rgba.assign(pixels, pixels + static_cast<std::size_t>(width) * height * 4);
    stbi_image_free(pixels);
    return true;
}

bool write(const std::string& path, const Image& image, std::string& error)
{
    if (!stbi_write_png(path.c_str(), image.width, image.height, 4, image.rgba.data(), image.width * 4)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace png
