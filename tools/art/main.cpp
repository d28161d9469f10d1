// kellhud-art: composes the plug-in's pictures as SVG files, one folder per texture
// dictionary, and after they are rendered writes the font data file from the font sheets.
// tools/art/make-assets.sh runs it, renders the SVG files with rsvg-convert and packs
// each folder with kellhud-txd.
//
//   kellhud-art compose ICONS.json ART-DIR OUT
//       writes OUT/<dictionary>/<texture>.svg for every texture the plug-in and the host
//       look up. A file ART-DIR/textures/<dictionary>/<texture>.svg is taken as it is;
//       every other picture is composed here, its pictogram chosen by ART-DIR/icons.txt
//       from the Game Icons set ICONS.json or from ART-DIR/icons/.
//   kellhud-art font-data OUT.dat PNG-DIR
//       measures the rendered sheets PNG-DIR/[<variant>/]fonts/<sheet>.png of every
//       variant and writes the widths the host needs.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <exception>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "font_sheet.h"
#include "host/chosen_addresses.h"
#include "icons.h"
#include "pictures.h"
#include "text/printable.h"
#include "textures/sprite_tables.h"

namespace {

namespace fs = std::filesystem;

void fail(const std::string& message)
{
    std::fprintf(stderr, "kellhud-art: %s\n", message.c_str());
}

bool writeText(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

std::string variantPrefix(int variant)
{
    std::string folder = art::variantFolder(variant);
    return folder.empty() ? "" : folder + "/";
}

struct Composer {
    fs::path artDir, out;
    art::IconSet icons;
    std::vector<art::IconChoice> choices;
    std::vector<art::Station> stations;
    bool ok = true;

    // The pictogram chosen for a texture, or "" (and a message) when there is none.
    std::string pictogram(const std::string& dictionary, const std::string& texture)
    {
        for (const art::IconChoice& c : choices) {
            if (c.dictionary != dictionary || c.texture != texture)
                continue;
            std::string body, error;
            if (!art::iconBody(c.source, icons, (artDir / "icons").string(), body, error))
                fail(dictionary + "/" + texture + ": " + error);
            return c.mirrored && !body.empty() ? art::mirrored(body) : body;
        }
        fail(dictionary + "/" + texture + ": no icon in " + (artDir / "icons.txt").string());
        return {};
    }

    // One texture: the hand-drawn file if there is one, else the composed picture.
    void emit(const std::string& dictionary, const std::string& texture, const std::function<std::string()>& compose)
    {
        fs::path own = artDir / "textures" / dictionary / (texture + ".svg");
        std::string svg;
        if (fs::exists(own)) {
            if (!art::readText(own.string(), svg))
                fail("cannot read " + own.string());
        } else {
            svg = compose();
        }
        if (svg.empty()) {
            fail("nothing to draw for " + dictionary + "/" + texture);
            ok = false;
            return;
        }
        if (!writeText(out / dictionary / (texture + ".svg"), svg)) {
            fail("cannot write " + (out / dictionary).string());
            ok = false;
        }
    }

    void table(SpriteTableId id, const std::string& dictionary, const std::function<std::string(const std::string&)>& compose)
    {
        const SpriteTable& t = spriteTables[id];
        for (int i = 0; i < t.count; ++i)
            emit(dictionary, t.names[i], [&] { return compose(t.names[i]); });
    }

    const art::Station* station(const std::string& texture) const
    {
        for (const art::Station& s : stations)
            if (s.texture == texture)
                return &s;
        return nullptr;
    }

    void composeAll()
    {
        table(HUD_SPRITES, "hud", [](const std::string&) { return std::string(); }); // all hand-drawn
        for (int v = 0; v < art::variantCount; ++v) {
            std::string prefix = variantPrefix(v);
            table(RADAR_RING_SPRITES, prefix + "radar", [v](const std::string& name) { return art::radarRing(name, v); });
            for (uint32_t f = 0; f < host::chosen::font_texture_count; ++f)
                emit(prefix + "fonts", host::chosen::font_texture_names[f],
                     [f, v] { return art::fontSheet(static_cast<int>(f), v); });
        }
        auto blip = [this](const std::string& name) {
            std::string drawn = art::blip(name, {}); // the shapes of our own need no pictogram
            return drawn.empty() ? art::blip(name, pictogram("blips", name)) : drawn;
        };
        table(BLIP_LEVEL_SPRITES, "blips", blip);
        for (const char* name : host::chosen::radar_sprite_names)
            if (name)
                emit("blips", name, [&] { return blip(name); });
        table(WEAPON_SPRITES, "weapons", [this](const std::string& name) {
            std::string body = pictogram("weapons", name);
            return body.empty() ? body : art::weaponIcon(body);
        });
        table(RADIO_SPRITES, "radio_hud", [this](const std::string& name) {
            const art::Station* s = station(name);
            if (!s) {
                fail("radio_hud/" + name + ": no line in " + (artDir / "radio.txt").string());
                return std::string();
            }
            std::string body = pictogram("radio_hud", name);
            return body.empty() ? body : art::radioLogo(*s, body);
        });
        table(PROGRESS_BAR_SPRITES, "progress_bars", [](const std::string& name) { return art::progressFrame(std::stoi(name)); });
    }
};

int compose(const std::string& iconsPath, const fs::path& artDir, const fs::path& out)
{
    Composer c{artDir, out, {}, {}, {}};
    std::string text, error;
    if (!art::readText(iconsPath, text) || !art::parseIconSet(text, c.icons, error)) {
        fail(iconsPath + ": " + (error.empty() ? "cannot read" : error));
        return 1;
    }
    std::string mapPath = (artDir / "icons.txt").string(), radioPath = (artDir / "radio.txt").string();
    if (!art::readText(mapPath, text) || !art::parseIconMap(text, c.choices, error)) {
        fail(mapPath + ": " + (error.empty() ? "cannot read" : error));
        return 1;
    }
    if (!art::readText(radioPath, text) || !art::parseStations(text, c.stations, error)) {
        fail(radioPath + ": " + (error.empty() ? "cannot read" : error));
        return 1;
    }
    c.composeAll();
    return c.ok ? 0 : 1;
}

int fontData(const fs::path& outFile, const fs::path& pngDir)
{
    std::vector<std::string> names;
    std::vector<art::GlyphWidths> widths;
    for (uint32_t f = 0; f < host::chosen::font_texture_count; ++f) {
        std::vector<art::GlyphWidths> perVariant;
        for (int v = 0; v < art::variantCount; ++v) {
            fs::path sheet = pngDir / (variantPrefix(v) + "fonts") / (std::string(host::chosen::font_texture_names[f]) + ".png");
            png::Image image;
            std::string error;
            art::GlyphWidths w;
            if (!png::read(sheet.string(), image, error) || !art::measureGlyphs(image, w)) {
                fail(sheet.string() + ": " + (error.empty() ? "not a font sheet of the expected size" : error));
                return 1;
            }
            perVariant.push_back(w);
        }
        names.push_back(host::chosen::font_texture_names[f]);
        widths.push_back(art::widest(perVariant));
    }
    if (!writeText(outFile, art::fontData(names, widths))) {
        fail("cannot write " + outFile.string());
        return 1;
    }
    return 0;
}

int run(int argc, char** argv)
{
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "compose" && argc == 5)
        return compose(argv[2], argv[3], argv[4]);
    if (command == "font-data" && argc == 4)
        return fontData(argv[2], argv[3]);
    const bool help = argc == 2 && (command == "--help" || command == "-h");
    std::fprintf(help ? stdout : stderr, "usage: kellhud-art compose ICONS.json ART-DIR OUT\n"
                                         "       kellhud-art font-data OUT.dat PNG-DIR\n"
                                         "Draws the shipped art (tools/art/make-assets.sh runs it in the build).\n");
    return help ? 0 : 2;
}

} // namespace

int main(int argc, char** argv)
{
    // Whatever goes wrong (a file too large for memory, a folder that cannot be made), one
    // line that says so and a failing exit status, never an abort.
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        fail("stopped: not enough memory");
    } catch (const std::exception& e) {
        fail(std::string("stopped: ") + printable(e.what(), 200));
    } catch (...) {
        fail("stopped by an unexpected error");
    }
    return 1;
}
