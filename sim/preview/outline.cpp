#include "preview/outline.h"

#include <algorithm>

#include "core/key_value_file.h"
#include "data/placement.h"
#include "preview/raster.h"
#include "preview/text.h"

namespace sim::preview {

namespace {

// How far the rows move down with everything shown above them (the plug-in's push-down):
// the icon below the counter, the stars and the cash; the counter below the stars and the
// cash; the cash below the stars; the second icon below its counter.
constexpr float iconDrop = 93, ammoDrop = 66, cashDrop = 32, secondIconDrop = 27;

// What a text prints at its longest in play, in characters of its scale's average width
// (10 units at scale 1): four reserve digits; "$999999999"; a long area name; a mission
// title; "07:05"; a long spoken line, which wraps to a second line above it.
constexpr float reserveDigits = 4, cashChars = 10, nameChars = 12, missionChars = 20, clockChars = 5,
                subtitleChars = 60, subtitleLines = 2;

} // namespace

HudLayout layoutOfFile(const std::string& path)
{
    KeyValueFile file;
    file.open(path.c_str());
    return layoutFrom(file);
}

float subtitleLineWidth(const HudLayout& layout, const ScreenScale& unit)
{
    // Plain pixels, as the plug-in sets it (src/hud/subtitles.cpp).
    const LayoutBox& sprites = layout.records[HUD_RADAR_SPRITES];
    return radarAtLeft(layout) ? unit.width - sprites.x - sprites.w : unit.width - shippedRadarSpan;
}

std::vector<OutlineBox> outlineBoxes(const HudLayout& layout, int width, int height)
{
    const float W = static_cast<float>(width), H = static_cast<float>(height);
    const ScreenScale unit{W, H, std::min(W, H)};
    const LayoutBox* const k = layout.records;
    auto px = [&](float units) { return unit.pixels(units); };
    // A text's line height and average character width, from its scale.
    auto lineOf = [&](const LayoutBox& scale) { return 20 * unit.scale(scale.h); };
    auto charOf = [&](const LayoutBox& scale) { return 10 * unit.scale(scale.w); };
    std::vector<OutlineBox> boxes;
    // A box where the element's own edges put it, moved by its anchor or its group's.
    auto add = [&](LayoutRecord record, float left, float top, float right, float bottom) {
        const Shift shift = shiftOf(layout, record, unit);
        boxes.push_back({layoutRecordKeys[record], shift.atX(left), shift.atY(top), shift.atX(right), shift.atY(bottom)});
    };

    const Vec2 radar = layout.radarOffset, player = layout.playerInfoOffset;
    {
        // The map reaches its radius to each side of its centre.
        const LayoutBox& map = k[HUD_RADAR_MAP];
        const float x = map.x + radar.x, y = map.y + radar.y;
        add(HUD_RADAR_MAP, px(x - map.w), H - px(y + map.h), px(x + map.w), H - px(y - map.h));
    }
    // A ring hangs down from its y; only the first player's moves with the radar offset.
    auto ring = [&](LayoutRecord record, Vec2 offset) {
        const LayoutBox& b = k[record];
        const float left = px(b.x + offset.x), top = H - px(b.y + offset.y);
        add(record, left, top, left + px(b.w), top + px(b.h));
    };
    ring(HUD_RADAR_SPRITES, radar);
    ring(HUD_SECOND_RADAR_SPRITES, {0, 0});
    // A breath bar grows up from its foot, inside a 2-unit border.
    for (const LayoutRecord record : {HUD_BREATH_BAR, HUD_SECOND_BREATH_BAR}) {
        const LayoutBox& b = k[record];
        const float left = px(b.x - 2), bottom = H - px(b.y - 2);
        add(record, left, bottom - px(b.h + 4), left + px(b.w + 4), bottom);
    }
    {
        // Slid in: its left side at x, standing on y.
        const LayoutBox& b = k[HUD_STATS_BOX];
        const float bottom = H - px(b.y);
        add(HUD_STATS_BOX, px(b.x), bottom - px(b.h), px(b.x) + px(b.w), bottom);
    }

    auto icon = [&](LayoutRecord record, float drop) {
        const LayoutBox& b = k[record];
        const float left = W - px(b.x + player.x), top = px(b.y + drop + player.y);
        add(record, left, top, left + px(b.w), top + px(b.h));
    };
    icon(HUD_WEAPON_ICON, iconDrop);
    icon(HUD_SECOND_WEAPON_ICON, secondIconDrop);
    // Both counters at HUD_AMMO's scale: the clip ends at x, the reserve 40 units further
    // left (22 more beside a three-digit clip); printed up from y.
    const LayoutBox& ammoScale = k[HUD_AMMO];
    auto ammo = [&](LayoutRecord record, float drop) {
        const LayoutBox& b = k[record];
        const float right = W - px(b.x + player.x), bottom = px(b.y + drop + player.y);
        const float left = W - px(b.x + player.x + 40) - px(22) - reserveDigits * charOf(ammoScale);
        add(record, left, bottom - lineOf(ammoScale), right, bottom);
    };
    ammo(HUD_AMMO, ammoDrop);
    ammo(HUD_SECOND_AMMO, 0);
    {
        // Printed up from y, which the block's y offset does not move.
        const LayoutBox& b = k[HUD_CASH];
        const float right = W - px(b.x + player.x), bottom = px(b.y + cashDrop);
        add(HUD_CASH, right - cashChars * charOf(b), bottom - lineOf(b), right, bottom);
    }

    // Right-aligned texts from the bottom right corner: the names hang down from y, the
    // mission title stands on it, the clock and the day hang from it with the phone up.
    auto rightText = [&](LayoutRecord record, const LayoutBox& scale, float chars, bool standing) {
        const LayoutBox& b = k[record];
        const float right = W - px(b.x), top = H - px(b.y) - (standing ? lineOf(scale) : 0);
        add(record, right - chars * charOf(scale), top, right, top + lineOf(scale));
    };
    rightText(HUD_ZONE_NAME, k[HUD_ZONE_NAME], nameChars, false);
    rightText(HUD_VEHICLE_NAME, k[HUD_VEHICLE_NAME], nameChars, false);
    rightText(HUD_MISSION_TEXT, k[HUD_MISSION_TEXT], missionChars, true);
    rightText(HUD_CELLPHONE_CLOCK, k[HUD_CELLPHONE_CLOCK], clockChars, false);
    rightText(HUD_CELLPHONE_DAY, k[HUD_CELLPHONE_CLOCK], clockChars, false);
    {
        // Fully up.
        const LayoutBox& b = k[HUD_CELLPHONE];
        const float left = W - px(b.x), top = H - px(b.y);
        add(HUD_CELLPHONE, left, top, left + px(b.w), top + px(b.h));
    }
    {
        // Five icons 200 units apart, from 200 units left of a point 275 - x units left of
        // the centre.
        const LayoutBox& b = k[HUD_RADIO_HUD];
        const float from = W * 0.5f - px(275 - b.x);
        add(HUD_RADIO_HUD, from + px(-200), px(b.y), from + px(600) + px(b.w), px(b.y) + px(b.h));
    }
    {
        // Two lines from a little left of x to where they wrap, about 420 units further.
        const LayoutBox& b = k[HUD_HELP_MESSAGE];
        add(HUD_HELP_MESSAGE, px(b.x - 6), px(b.y), unit.scale(b.x + 422), px(b.y) + 2 * lineOf(b));
    }
    {
        // Centred, standing on y and growing upward; no wider than the lines may be.
        const LayoutBox& b = k[HUD_SUBTITLES];
        const float room = subtitleLineWidth(layout, unit), longest = subtitleChars * charOf(b);
        const float line = room > 0 ? std::min(room, longest) : longest;
        const float centre = W * 0.5f - px(b.x), bottom = H - px(b.y);
        add(HUD_SUBTITLES, centre - line / 2, bottom - subtitleLines * lineOf(b), centre + line / 2, bottom);
    }
    {
        const LayoutBox& b = k[HUD_CROSSHAIR_FPS];
        const float left = W * 0.5f - px(b.x + 0.5f * b.w), top = H * 0.5f - px(b.y + 0.5f * b.h);
        add(HUD_CROSSHAIR_FPS, left, top, left + px(b.w), top + px(b.h));
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
