#include "preview/render.h"

#include <cmath>
#include <filesystem>
#include <fstream>

#include "preview/draw_list.h"
#include "preview/map_texture.h"
#include "preview/text.h"
#include "text/utf8_path.h"
#include "textures.h"
#include "txd/txd.h"

namespace sim::preview {

namespace {

// The scene behind the HUD: a plain grey, lighter at the top.
constexpr Colour backgroundTop = {124, 128, 134, 255};
constexpr Colour backgroundBottom = {78, 82, 88, 255};

// Host triangle lists, strips and fans.
constexpr int32_t triangleList = 3;
constexpr int32_t triangleStrip = 4;
constexpr int32_t triangleFan = 5;

void drawBackground(png::Image& image)
{
    const float w = static_cast<float>(image.width), h = static_cast<float>(image.height);
    Vertex corners[4] = {{0, 0, 0, 0, backgroundTop},
                         {w, 0, 1, 0, backgroundTop},
                         {0, h, 0, 1, backgroundBottom},
                         {w, h, 1, 1, backgroundBottom}};
    drawQuad(image, corners, nullptr, BlendMode{}, wholeImage(image));
}

ClipRect clipOf(const DrawOp& op, const png::Image& image)
{
    return op.scissored ? intersect(op.scissor, wholeImage(image)) : wholeImage(image);
}

void drawQuadOp(png::Image& image, const DrawOp& op)
{
    TextureView view;
    const TextureView* texture = nullptr;
    // The host draws nothing for a sprite that holds no texture (the plug-in relies on it
    // for a missing dictionary or name), so neither does the preview.
    const LoadedTexture* t = op.textured ? loadedTexture(op.texture) : nullptr;
    if (op.textured && !t)
        return;
    if (t) {
        const int level = fittingLevel(op.corners, t->width, t->height, static_cast<int>(t->levels.size()));
        const int w = txd::levelWidth(t->width, level), h = txd::levelHeight(t->height, level);
        if (!t->levels.empty() && t->levels[level].size() >= static_cast<size_t>(w) * h * 4) {
            view = {w, h, t->levels[level].data()};
            texture = &view;
        }
    }
    drawQuad(image, op.corners, texture, op.blend, clipOf(op, image));
}

void drawTrianglesOp(png::Image& image, const DrawOp& op)
{
    const Vertex* v = vertices().data() + op.first;
    ClipRect clip = clipOf(op, image);
    for (uint32_t i = 0; i + 2 < op.count; ++i) {
        if (op.primitive == triangleList && i % 3 == 0)
            drawTriangle(image, v[i], v[i + 1], v[i + 2], nullptr, op.blend, clip);
        else if (op.primitive == triangleStrip)
            drawTriangle(image, v[i], v[i + 1], v[i + 2], nullptr, op.blend, clip);
        else if (op.primitive == triangleFan)
            drawTriangle(image, v[0], v[i + 1], v[i + 2], nullptr, op.blend, clip);
    }
}

void drawMap(png::Image& image, const DrawOp& op, const MapPlacement& map)
{
    const Rect& r = map.rect;
    if (!map.known || !std::isfinite(r.left) || !std::isfinite(r.top) || !std::isfinite(r.right) ||
        !std::isfinite(r.bottom))
        return;
    const Colour white = {255, 255, 255, 255};
    Vertex corners[4] = {{r.left, r.top, 0, 0, white},
                         {r.right, r.top, 1, 0, white},
                         {r.left, r.bottom, 0, 1, white},
                         {r.right, r.bottom, 1, 1, white}};
    TextureView texture = mapTexture();
    drawQuad(image, corners, &texture, BlendMode{}, clipOf(op, image));
}

} // namespace

// Pointing up from the map's centre, 12 units tall as the host's arrow is.
void drawArrow(png::Image& image, const DrawOp& op, const MapPlacement& map)
{
    if (!map.known)
        return;
    const float x = (map.rect.left + map.rect.right) / 2, y = (map.rect.top + map.rect.bottom) / 2;
    const float size = static_cast<float>(image.height) / 1080.0f * 12.0f;
    const Colour c = op.corners[0].colour;
    const Vertex tip{x, y - size, 0, 0, c}, left{x - size * 0.6f, y + size * 0.7f, 0, 0, c},
        right{x + size * 0.6f, y + size * 0.7f, 0, 0, c};
    drawTriangle(image, tip, left, right, nullptr, op.blend, clipOf(op, image));
}

bool renderFrame(png::Image& image, int width, int height, const MapPlacement& map, std::string& error)
{
    if (!openTextFonts(error))
        return false;
    image.width = width;
    image.height = height;
    image.rgba.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    drawBackground(image);
    for (const DrawOp& op : ops()) {
        switch (op.kind) {
        case DrawKind::Quad:
            drawQuadOp(image, op);
            break;
        case DrawKind::Triangles:
            drawTrianglesOp(image, op);
            break;
        case DrawKind::Text:
            drawText(image, op.text, op.x, op.y, std::string_view(characters()).substr(op.first, op.count),
                     op.fromBottom, clipOf(op, image));
            break;
        case DrawKind::Map:
            drawMap(image, op, map);
            break;
        case DrawKind::Arrow:
            drawArrow(image, op, map);
            break;
        }
    }
    return true;
}

bool checkPicturePath(const std::string& path, std::string& error)
{
    if (path.empty() || std::filesystem::is_directory(utf8Path(path))) {
        error = "not a file name";
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "the file cannot be made (does its folder exist, and may it be written?)";
        return false;
    }
    return true;
}

} // namespace sim::preview
