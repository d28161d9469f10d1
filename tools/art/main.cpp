// kellhud-art: draws the plug-in's pictures as PNG files, one folder per texture
// dictionary, and writes the font data file. The asset build packs each folder into the
// dictionary of the same path with kellhud-txd. Plain shapes and a pixel font: legible,
// not beautiful.
//
//   kellhud-art OUT   writes OUT/textures/<dictionary>/<texture>.png and OUT/data/fonts.dat

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "../txd/png.h"
#include "canvas.h"
#include "host/chosen_addresses.h"
#include "pixel_font.h"
#include "textures/sprite_tables.h"

namespace {

namespace fs = std::filesystem;
using art::Canvas;
using art::Rgba;

constexpr Rgba white{255, 255, 255, 255};
constexpr Rgba black{0, 0, 0, 255};
constexpr Rgba shade{0, 0, 0, 160};

fs::path outRoot;
bool failed = false;

void save(const std::string& dictionary, const std::string& name, const Canvas& c)
{
    fs::path dir = outRoot / "textures" / dictionary;
    fs::create_directories(dir);
    std::string error;
    if (!png::write((dir / (name + ".png")).string(), {c.width, c.height, c.rgba}, error)) {
        std::fprintf(stderr, "kellhud-art: %s\n", error.c_str());
        failed = true;
    }
}

// A tile that names itself: for any name without art of its own.
Canvas labelTile(const char* name, int width, int height)
{
    Canvas c(width, height);
    c.fillRect(0, 0, width, height, shade);
    c.textCentred(name, width / 2.0f, height / 2.0f, art::fittingScale(name, width - 4, 3), white);
    return c;
}

// ---- hud ------------------------------------------------------------------------------

Canvas hudPicture(const std::string& name)
{
    if (name == "star") {
        Canvas c(64, 64);
        c.star(32, 34, 31, 13, white);
        return c;
    }
    if (name == "hud_crosshair" || name == "hud_crosshair_fps") {
        Canvas c(64, 64);
        bool fps = name == "hud_crosshair_fps";
        c.ring(32, 32, fps ? 5 : 18, fps ? 8 : 22, white);
        for (int i = 0; i < 4; ++i) {
            float dx = i == 0 ? 1 : i == 1 ? -1 : 0, dy = i == 2 ? 1 : i == 3 ? -1 : 0;
            c.line(32 + dx * (fps ? 11 : 24), 32 + dy * (fps ? 11 : 24), 32 + dx * 31, 32 + dy * 31, 3, white);
        }
        return c;
    }
    if (name == "hud_target") {
        Canvas c(64, 64);
        c.ring(32, 32, 26, 30, white);
        c.fillCircle(32, 32, 4, white);
        return c;
    }
    if (name == "hud_cellphone") {
        Canvas c(64, 128);
        c.fillRect(8, 4, 56, 124, {40, 40, 48, 255});
        c.fillRect(12, 14, 52, 60, {150, 200, 170, 255});
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 3; ++col)
                c.fillCircle(19 + col * 13, 72 + row * 13, 4, white);
        return c;
    }
    if (name == "hud_sniper" || name == "hud_rocket") {
        Canvas c(256, 256);
        c.ring(128, 128, 120, 127, black);
        c.line(0, 128, 100, 128, 2, black);
        c.line(156, 128, 256, 128, 2, black);
        c.line(128, 0, 128, 100, 2, black);
        c.line(128, 156, 128, 256, 2, black);
        if (name == "hud_rocket")
            c.ring(128, 128, 36, 40, {255, 60, 40, 255});
        else
            c.fillCircle(128, 128, 2, {255, 40, 40, 255});
        return c;
    }
    return labelTile(name.c_str(), 64, 64);
}

// ---- radar rings, by style variant ----------------------------------------------------

struct Variant {
    const char* folder; // "" for the base style
    Rgba ring;          // colour of the front ring
};

Canvas radarPicture(const std::string& name, const Variant& v)
{
    Canvas c(256, 256);
    if (name == "radarringfront") {
        c.ring(128, 128, 116, 127, v.ring);
        c.ring(128, 128, 112, 116, black);
    } else if (name == "radarringback") {
        c.fillCircle(128, 128, 127, {0, 0, 0, 150});
    } else if (name == "radarringmask") {
        c.fillCircle(128, 128, 112, white);
    } else if (name == "radarringplane") {
        c.fillPolygon({128, 30, 146, 110, 226, 150, 226, 166, 146, 150, 140, 206, 166, 226, 90, 226, 116, 206,
                       110, 150, 30, 166, 30, 150, 110, 110},
                      white);
    } else {
        return labelTile(name.c_str(), 64, 64);
    }
    return c;
}

// ---- blips: the level markers and every blip the host looks up -----------------------

Canvas blipPicture(const std::string& name)
{
    Canvas c(32, 32);
    if (name == "radar_higher") {
        c.fillPolygon({16, 3, 29, 27, 3, 27}, white);
    } else if (name == "radar_lower") {
        c.fillPolygon({3, 5, 29, 5, 16, 29}, white);
    } else if (name == "radar_level") {
        c.fillRect(6, 6, 26, 26, white);
    } else if (name == "radar_centre") {
        // The player's vehicle seen from above, nose up: the roll indicator turns it.
        c.fillPolygon({16, 1, 19, 12, 31, 17, 31, 20, 19, 19, 18, 27, 22, 31, 10, 31, 14, 27, 13, 19, 1, 20, 1, 17,
                       13, 12},
                      white);
    } else {
        // A disc with the blip's initial: radar_police shows P.
        const char* label = name.c_str() + std::strlen("radar_");
        char initial[2] = {label[0], 0};
        c.fillCircle(16, 16, 15, {30, 30, 30, 230});
        c.ring(16, 16, 13, 15, white);
        c.textCentred(initial, 16, 16, 2, white);
    }
    return c;
}

// ---- weapons and radio stations: their names in the pixel font ------------------------

Canvas weaponPicture(const std::string& name)
{
    Canvas c(128, 64);
    c.ring(16, 32, 10, 13, white);
    c.fillCircle(16, 32, 4, white);
    c.line(30, 32, 124, 32, 2, white);
    int scale = art::fittingScale(name.c_str(), 92, 3);
    c.text(name.c_str(), 32, 32 - 7 * scale - 3, scale, white);
    return c;
}

Canvas radioPicture(const std::string& name)
{
    Canvas c(64, 64);
    c.fillCircle(32, 32, 31, {20, 20, 20, 220});
    c.ring(32, 32, 28, 31, white);
    const char* station = name.c_str() + (name.rfind("radio_", 0) == 0 ? std::strlen("radio_") : 0);
    c.textCentred(station, 32, 32, art::fittingScale(station, 52, 2), white);
    return c;
}

// ---- progress ring frames: "00" empty to "190" almost full ----------------------------

Canvas progressPicture(const std::string& name)
{
    Canvas c(128, 128);
    float fraction = std::atoi(name.c_str()) / 200.0f;
    c.ring(64, 64, 50, 56, {255, 255, 255, 60});
    if (fraction > 0)
        c.ring(64, 64, 50, 56, white, 0, 360 * fraction);
    return c;
}

// ---- fonts: one sheet per font, characters 32..127 in a 16 x 6 grid ----------------------

constexpr int fontCell = 16;
constexpr int fontScale = 2;
constexpr int firstChar = 32;
constexpr int charCount = 96;

Canvas fontSheet(int font, const char* style)
{
    Canvas c(16 * fontCell, 8 * fontCell);
    for (int i = 0; i < charCount; ++i) {
        char ch[2] = {static_cast<char>(firstChar + i), 0};
        int x = (i % 16) * fontCell + 1, y = (i / 16) * fontCell + 1;
        if (font == 1 || std::strcmp(style, "mora") == 0) // a dark edge around each glyph
            for (int d = 0; d < 4; ++d)
                c.text(ch, x + (d == 0) - (d == 1), y + (d == 2) - (d == 3), fontScale, black);
        c.text(ch, x, y, fontScale, white);
        if (std::strcmp(style, "sabel") == 0) // bold
            c.text(ch, x + 1, y, fontScale, white);
    }
    return c;
}

void writeFontData()
{
    fs::create_directories(outRoot / "data");
    std::ofstream out(outRoot / "data" / "fonts.dat");
    out << "# Kell Hud font data, read by the game's font loader.\n"
           "# One line per font sheet of fonts.txd: the sheet's texture name, then the width in\n"
           "# sheet pixels of each character from 32 (space) to 127, as the sheet draws it.\n";
    for (const char* sheet : host::chosen::font_texture_names) {
        out << sheet;
        for (int i = 0; i < charCount; ++i)
            out << ' ' << (art::glyphWidth(static_cast<char>(firstChar + i)) + 1) * fontScale;
        out << '\n';
    }
    if (!out) {
        std::fprintf(stderr, "kellhud-art: cannot write fonts.dat\n");
        failed = true;
    }
}

void drawTable(SpriteTableId id, const std::string& folder, const std::function<Canvas(const std::string&)>& draw)
{
    const SpriteTable& table = spriteTables[id];
    for (int i = 0; i < table.count; ++i)
        save(folder, table.names[i], draw(table.names[i]));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kellhud-art OUT\n");
        return 2;
    }
    outRoot = argv[1];

    drawTable(HUD_SPRITES, "hud", hudPicture);
    const Variant variants[] = {{"", {255, 255, 255, 255}}, {"mora", {120, 200, 255, 255}}, {"sabel", {255, 200, 90, 255}}};
    for (const Variant& v : variants) {
        std::string prefix = *v.folder ? std::string(v.folder) + "/" : "";
        drawTable(RADAR_RING_SPRITES, prefix + "radar", [&](const std::string& name) { return radarPicture(name, v); });
        for (uint32_t f = 0; f < host::chosen::font_texture_count; ++f)
            save(prefix + "fonts", host::chosen::font_texture_names[f], fontSheet(static_cast<int>(f), *v.folder ? v.folder : "base"));
    }
    drawTable(BLIP_LEVEL_SPRITES, "blips", blipPicture);
    for (const char* name : host::chosen::radar_sprite_names)
        if (name)
            save("blips", name, blipPicture(name));
    drawTable(WEAPON_SPRITES, "weapons", weaponPicture);
    drawTable(RADIO_SPRITES, "radio_hud", radioPicture);
    drawTable(PROGRESS_BAR_SPRITES, "progress_bars", progressPicture);
    writeFontData();
    return failed ? 1 : 0;
}
