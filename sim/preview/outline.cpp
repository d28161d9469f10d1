#include "preview/outline.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>

#include "preview/raster.h"
#include "preview/text.h"

namespace sim::preview {

namespace {

struct Numbers {
    float x = 0, y = 0, w = 0, h = 0;
};

// As the plug-in reads hud.dat: a key and up to four numbers, '=' allowed after the key,
// ';' and '#' start comments, the first line of a key wins.
std::map<std::string, Numbers> readLayoutText(const std::string& text)
{
    std::map<std::string, Numbers> keys;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find_first_of(";#"));
        std::replace(line.begin(), line.end(), '=', ' ');
        std::istringstream words(line);
        std::string key;
        if (!(words >> key) || keys.count(key))
            continue;
        Numbers n;
        float* fields[] = {&n.x, &n.y, &n.w, &n.h};
        for (float* field : fields)
            if (!(words >> *field)) {
                *field = 0;
                break;
            }
        keys[key] = n;
    }
    return keys;
}

} // namespace

std::vector<OutlineBox> outlineBoxes(const std::string& layoutText, int width, int height)
{
    std::map<std::string, Numbers> k = readLayoutText(layoutText);
    const float W = static_cast<float>(width), H = static_cast<float>(height);
    const float u = std::min(W, H) / 1080.0f;
    const Numbers radar = k["HUD_RADAR_OFFSET_X_Y"], player = k["HUD_PLAYER_INFO_OFFSET_X_Y"];
    std::vector<OutlineBox> boxes;
    auto add = [&](const char* key, float left, float top, float right, float bottom) {
        boxes.push_back({key, left, top, right, bottom});
    };
    // A text's box: its line height from the scale, `chars` characters of 10 units wide.
    auto textHeight = [&](const Numbers& n) { return 20 * n.h * u; };
    auto textWidth = [&](const Numbers& n, int chars) { return 10 * n.w * u * static_cast<float>(chars); };

    for (const char* key : {"HUD_RADAR_MAP", "HUD_SECOND_RADAR_MAP"}) {
        const Numbers n = k[key];
        const bool moved = std::string(key) == "HUD_RADAR_MAP";
        const float cx = (n.x + (moved ? radar.x : 0)) * u, cy = H - (n.y + (moved ? radar.y : 0)) * u;
        add(key, cx - n.w * u, cy - n.h * u, cx + n.w * u, cy + n.h * u);
    }
    for (const char* key : {"HUD_RADAR_SPRITES", "HUD_SECOND_RADAR_SPRITES"}) {
        const Numbers n = k[key];
        const bool moved = std::string(key) == "HUD_RADAR_SPRITES";
        const float left = (n.x + (moved ? radar.x : 0)) * u, top = H - (n.y + (moved ? radar.y : 0)) * u;
        add(key, left, top, left + n.w * u, top + n.h * u);
    }
    for (const char* key : {"HUD_BREATH_BAR", "HUD_SECOND_BREATH_BAR", "HUD_STATS_BOX"}) {
        const Numbers n = k[key];
        add(key, n.x * u, H - (n.y + n.h) * u, (n.x + n.w) * u, H - n.y * u);
    }
    for (const char* key : {"HUD_WEAPON_ICON", "HUD_SECOND_WEAPON_ICON"}) {
        const Numbers n = k[key];
        const float left = W - (n.x + player.x) * u, top = (n.y + player.y) * u;
        add(key, left, top, left + n.w * u, top + n.h * u);
    }
    const Numbers ammoScale = k["HUD_AMMO"];
    for (const char* key : {"HUD_AMMO", "HUD_SECOND_AMMO"}) {
        const Numbers n = k[key];
        const float right = W - (n.x + player.x) * u, bottom = (n.y + player.y) * u;
        add(key, right - textWidth(ammoScale, 9), bottom - textHeight(ammoScale), right, bottom);
    }
    {
        const Numbers n = k["HUD_CASH"];
        const float right = W - (n.x + player.x) * u, bottom = n.y * u;
        add("HUD_CASH", right - textWidth(n, 7), bottom - textHeight(n), right, bottom);
    }
    const Numbers clockScale = k["HUD_CELLPHONE_CLOCK"];
    for (const char* key : {"HUD_ZONE_NAME", "HUD_VEHICLE_NAME", "HUD_MISSION_TEXT", "HUD_CELLPHONE_CLOCK",
                            "HUD_CELLPHONE_DAY"}) {
        const Numbers n = k[key];
        const bool phone = std::string(key).rfind("HUD_CELLPHONE", 0) == 0;
        const Numbers& scale = phone ? clockScale : n;
        // The mission text is printed up from its y (the bottom of its last line); the others down.
        const bool fromBottom = std::string(key) == "HUD_MISSION_TEXT";
        const float right = W - n.x * u, top = H - n.y * u - (fromBottom ? textHeight(scale) : 0);
        add(key, right - textWidth(scale, phone ? 5 : 8), top, right, top + textHeight(scale));
    }
    {
        const Numbers n = k["HUD_CELLPHONE"];
        const float left = W - n.x * u, top = H - n.y * u;
        add("HUD_CELLPHONE", left, top, left + n.w * u, top + n.h * u);
    }
    {
        // Five icons 200 units apart; the middle one's left side is at the centre less 75.
        const Numbers n = k["HUD_RADIO_HUD"];
        const float middle = W / 2 + (n.x - 75) * u;
        add("HUD_RADIO_HUD", middle - 400 * u, n.y * u, middle + (400 + n.w) * u, (n.y + n.h) * u);
    }
    {
        const Numbers n = k["HUD_HELP_MESSAGE"];
        add("HUD_HELP_MESSAGE", n.x * u, n.y * u, (n.x + 420) * u, n.y * u + 2 * textHeight(n));
    }
    {
        const Numbers n = k["HUD_SUBTITLES"];
        const float centre = W / 2 - n.x * u, bottom = H - n.y * u;
        add("HUD_SUBTITLES", centre - textWidth(n, 15) / 2, bottom - textHeight(n), centre + textWidth(n, 15) / 2,
            bottom);
    }
    {
        const Numbers n = k["HUD_CROSSHAIR_FPS"];
        const float cx = W / 2 - n.x * u, cy = H / 2 - n.y * u;
        add("HUD_CROSSHAIR_FPS", cx - n.w * u / 2, cy - n.h * u / 2, cx + n.w * u / 2, cy + n.h * u / 2);
    }
    return boxes;
}

void drawOutlines(png::Image& image, const std::vector<OutlineBox>& boxes)
{
    const ClipRect clip = wholeImage(image);
    const Shade line = {1.0f, 0.1f, 0.9f, 1.0f};
    auto dot = [&](int x, int y) {
        if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom)
            blendPixel(image, x, y, line, BlendMode{});
    };
    TextState label;
    label.scale = {0.45f, 0.9f};
    label.colour = {255, 40, 230, 255};
    label.secondColour = {0, 0, 0, 255};
    label.font = 1;
    label.alignment = 1;
    label.flagP = 1;
    label.flagR = 1;
    // Edges beyond the picture are drawn just outside it (and so not at all); NaN as 0.
    auto pixel = [](float value, int size) {
        return static_cast<int>(value == value ? std::clamp(value, -1.0f, static_cast<float>(size)) : 0.0f);
    };
    for (const OutlineBox& box : boxes) {
        const int l = pixel(std::min(box.left, box.right), image.width), r = pixel(std::max(box.left, box.right), image.width);
        const int t = pixel(std::min(box.top, box.bottom), image.height), b = pixel(std::max(box.top, box.bottom), image.height);
        for (int x = l; x <= r; ++x) {
            dot(x, t);
            dot(x, b);
        }
        for (int y = t; y <= b; ++y) {
            dot(l, y);
            dot(r, y);
        }
        drawText(image, label, static_cast<float>(l + 2), static_cast<float>(t + 2), box.key, false, clip);
    }
}

} // namespace sim::preview
