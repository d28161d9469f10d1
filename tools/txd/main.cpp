// kellhud-txd: lists, unpacks and packs the host's texture dictionary files, so that a
// modder can see what a dictionary holds and replace its pictures with PNG files.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "dictionary_contents.h"
#include "mip_chain.h"
#include "png.h"
#include "text/printable.h"
#include "text/utf8_path.h"
#include "txd.h"

namespace {

const char usage[] =
    "usage: kellhud-txd list [--for NAME] FILE.txd\n"
    "       kellhud-txd unpack [--force] FILE.txd DIR\n"
    "       kellhud-txd pack [--for NAME] OUT.txd A.png [B.png ...]\n"
    "\n"
    "list    prints each texture of a dictionary: name, mask, size, levels, format\n"
    "        (with --for, also every texture the plug-in needs that is missing)\n"
    "unpack  writes each texture's first level as DIR/NAME.png (a name that cannot be a\n"
    "        file name is written with its unsafe bytes as %XX, and said so); a PNG already\n"
    "        there with other pixels (your edits) stops it before it writes anything,\n"
    "        unless --force is given\n"
    "pack    makes one dictionary of PNG files; each texture is named after its file\n"
    "        (star.png becomes \"star\") and gets its mip levels down to 1x1; with\n"
    "        --for it refuses a set missing a texture the plug-in draws, and warns about\n"
    "        a texture never drawn, a side not a power of two and a side over 1024\n"
    "\n"
    "--for NAME  the plug-in's dictionary the file is (hud, radar, blips, weapons,\n"
    "            radio_hud, progress_bars, fonts); without it, the file's own name when\n"
    "            it is one of these (weapons.txd is checked as weapons)\n";

int fail(const std::string& message)
{
    std::cerr << "kellhud-txd: " << message << "\n";
    return 1;
}

bool load(const std::string& path, txd::Dictionary& dictionary)
{
    std::string error;
    if (txd::readFile(path, dictionary, error))
        return true;
    // A message without a byte offset is about the file itself (missing, a folder, a pipe,
    // too large), not about its content.
    if (error.find("(at byte ") == std::string::npos) {
        std::cerr << "kellhud-txd: " << error << "\n  Give the path of a .txd file.\n";
        return false;
    }
    std::cerr << "kellhud-txd: " << path << " is not a texture dictionary this tool reads: " << error << "\n"
              << "  The file may be cut short or damaged; pack it again from its PNG files.\n";
    return false;
}

void swapRedBlue(std::vector<uint8_t>& pixels)
{
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4)
        std::swap(pixels[i], pixels[i + 2]);
}

// Prints the content findings; true when none is an error.
bool report(const std::vector<txd::ContentFinding>& findings)
{
    bool clean = true;
    for (const txd::ContentFinding& f : findings) {
        std::cerr << "kellhud-txd: " << (f.error ? "error: " : "warning: ") << f.message << "\n";
        clean &= !f.error;
    }
    return clean;
}

int list(const std::string& path, const std::string& forName)
{
    txd::Dictionary dictionary;
    if (!load(path, dictionary))
        return 1;
    std::printf("%s: %zu texture%s\n", path.c_str(), dictionary.textures.size(),
                dictionary.textures.size() == 1 ? "" : "s");
    for (const txd::Texture& t : dictionary.textures)
        std::printf("  %-24s mask %-12s %5ux%-5u %u level%s  B8G8R8A8%s  filtering 0x%04X\n", printable(t.name).c_str(),
                    t.mask.empty() ? "-" : printable(t.mask).c_str(), t.width, t.height,
                    static_cast<unsigned>(t.levels.size()), t.levels.size() == 1 ? " " : "s",
                    t.hasAlpha ? " with alpha" : "", t.filtering);
    if (forName.empty())
        return 0;
    std::vector<txd::ContentFinding> findings = txd::checkContents(dictionary, forName);
    std::vector<std::string> missing;
    for (const txd::ContentFinding& f : findings)
        if (f.error)
            missing.push_back(f.texture);
    if (missing.empty())
        std::printf("every texture the plug-in draws from %s.txd is there\n", forName.c_str());
    else {
        std::printf("missing for %s.txd (%zu):", forName.c_str(), missing.size());
        for (const std::string& name : missing)
            std::printf(" %s", name.c_str());
        std::printf("\n");
    }
    report(findings);
    return missing.empty() ? 0 : 1;
}

// Whether a PNG already at `path` holds other pixels than `image`: a modder's edit that
// unpacking again would lose. A file that is no readable PNG counts as one.
bool holdsOtherPixels(const std::string& path, const png::Image& image)
{
    std::error_code ec;
    if (!std::filesystem::exists(utf8Path(path), ec))
        return false;
    png::Image there;
    std::string error;
    return !png::read(path, there, error) || there.width != image.width || there.height != image.height ||
           there.rgba != image.rgba;
}

int unpack(const std::string& path, const std::string& dir, bool force)
{
    txd::Dictionary dictionary;
    if (!load(path, dictionary))
        return 1;
    struct Picture {
        std::string out;
        png::Image image;
    };
    std::vector<Picture> pictures;
    std::vector<std::string> edited;
    for (const txd::Texture& t : dictionary.textures) {
        png::Image image{t.width, t.height, t.levels[0]};
        swapRedBlue(image.rgba);
        // A name from the file may be "../x", "/etc/x" or "CON": it must not choose where
        // the picture goes.
        std::string file = txd::safeFileName(t.name);
        std::string out = utf8Text(utf8Path(dir) / utf8Path(file + ".png"));
        std::string why;
        if (!txd::plainFileName(t.name, why))
            std::cerr << "kellhud-txd: warning: texture \"" << printable(t.name) << "\" cannot be a file name as it stands ("
                      << why << "); written as " << out << ". Rename the PNG file before packing it again.\n";
        if (!force && holdsOtherPixels(out, image))
            edited.push_back(out);
        pictures.push_back({out, std::move(image)});
    }
    if (!edited.empty()) {
        std::cerr << "kellhud-txd: " << edited.size() << (edited.size() == 1 ? " picture" : " pictures") << " in " << dir
                  << " already there with other pixels than " << path << " holds (edited?):\n";
        for (const std::string& file : edited)
            std::cerr << "  " << file << "\n";
        std::cerr << "Nothing was written. Unpack into a new folder, or add --force to overwrite them.\n";
        return 1;
    }
    std::error_code ec;
    std::filesystem::create_directories(utf8Path(dir), ec);
    if (ec)
        return fail("cannot make the folder " + dir + ": " + ec.message());
    for (const Picture& picture : pictures) {
        std::string error;
        if (!png::write(picture.out, picture.image, error))
            return fail(error);
        std::printf("%s\n", picture.out.c_str());
    }
    return 0;
}

bool packOne(const std::string& file, txd::Dictionary& dictionary)
{
    std::string name = utf8Text(utf8Path(file).stem());
    png::Image image;
    std::string error;
    if (!png::read(file, image, error)) {
        std::cerr << "kellhud-txd: cannot read " << file << " as a PNG image (" << error << ").\n"
                  << "  Save it as PNG from your image editor and try again.\n";
        return false;
    }
    if (name.empty() || name.size() >= txd::nameSize) {
        std::cerr << "kellhud-txd: " << file << ": a texture name takes 1 to 31 characters; rename the file.\n";
        return false;
    }
    std::string why;
    if (!txd::plainFileName(name, why)) {
        std::cerr << "kellhud-txd: " << file << ": \"" << printable(name) << "\" cannot be a texture name (" << why
                  << "); rename the file.\n";
        return false;
    }
    if (image.width > 0xFFFF || image.height > 0xFFFF) {
        std::cerr << "kellhud-txd: " << file << " is " << image.width << "x" << image.height
                  << "; a texture is at most 65535 pixels wide and high.\n";
        return false;
    }
    for (const txd::Texture& t : dictionary.textures)
        if (txd::sameName(t.name, name)) {
            std::cerr << "kellhud-txd: two files would both be the texture \"" << printable(name)
                      << "\" (the game does not tell upper from lower case); rename one.\n";
            return false;
        }

    txd::Texture t;
    t.name = name;
    t.width = static_cast<uint16_t>(image.width);
    t.height = static_cast<uint16_t>(image.height);
    for (std::size_t i = 3; i < image.rgba.size(); i += 4)
        t.hasAlpha |= image.rgba[i] != 255;
    swapRedBlue(image.rgba);
    t.levels.push_back(std::move(image.rgba));
    dictionary.textures.push_back(std::move(t));
    return true;
}

// Every texture gets its whole mip chain while the file stays within what a reader takes;
// one whose chain would not fit keeps its single level, which the host draws all the same.
void addMipChains(txd::Dictionary& dictionary)
{
    uint64_t size = txd::fileSize(dictionary);
    for (txd::Texture& t : dictionary.textures) {
        const uint64_t more = txd::mipChainSize(t);
        if (size + more > txd::maxFileSize) {
            std::cerr << "kellhud-txd: warning: \"" << printable(t.name) << "\" is packed without mip levels: with them the "
                      << "dictionary would be larger than " << txd::maxFileSize << " bytes.\n";
            continue;
        }
        txd::addMipChain(t);
        size += more;
    }
}

int pack(const std::string& out, const std::vector<std::string>& files, const std::string& forName)
{
    txd::Dictionary dictionary;
    for (const std::string& file : files)
        if (!packOne(file, dictionary))
            return 1;
    // Before anything is written: a set that lacks a picture the plug-in draws is not made.
    if (!forName.empty() && !report(txd::checkContents(dictionary, forName))) {
        std::cerr << "kellhud-txd: " << out << " not written: add the missing pictures (kellhud-txd list --for "
                  << forName << " shows what a dictionary lacks)\n";
        return 1;
    }
    std::string error;
    // Level 0 alone must fit; only then are the levels worth making.
    if (!txd::check(dictionary, error))
        return fail(error);
    addMipChains(dictionary);
    if (!txd::writeFile(out, dictionary, error))
        return fail(error);
    std::printf("%s: %zu texture%s packed\n", out.c_str(), dictionary.textures.size(),
                dictionary.textures.size() == 1 ? "" : "s");
    return 0;
}

// The dictionary a file is checked as: the one given with --for, or the file's own name
// when it is one of the plug-in's. "" for none; false for a --for name that is no dictionary.
bool dictionaryFor(std::vector<std::string>& args, std::string& name)
{
    const std::vector<std::string> known = txd::knownDictionaries();
    auto given = std::find(args.begin(), args.end(), "--for");
    if (given == args.end()) {
        const std::string stem = args.size() > 1 ? utf8Text(utf8Path(args[1]).stem()) : "";
        name = std::find(known.begin(), known.end(), stem) != known.end() ? stem : "";
        return true;
    }
    if (given + 1 == args.end() || std::find(known.begin(), known.end(), *(given + 1)) == known.end()) {
        std::string names;
        for (const std::string& k : known)
            names += (names.empty() ? "" : ", ") + k;
        std::cerr << "kellhud-txd: --for " << (given + 1 == args.end() ? std::string("needs a name") : "\"" + printable(*(given + 1)) + "\" is no dictionary of the plug-in")
                  << "; give one of " << names << "\n";
        return false;
    }
    name = *(given + 1);
    args.erase(given, given + 2);
    return true;
}

int run(std::vector<std::string> args)
{
    std::string forName;
    if (!args.empty() && (args[0] == "list" || args[0] == "pack") && !dictionaryFor(args, forName))
        return 2;
    if (args.size() == 2 && args[0] == "list")
        return list(args[1], forName);
    if (!args.empty() && args[0] == "unpack") {
        const auto forced = std::find(args.begin() + 1, args.end(), std::string("--force"));
        const bool force = forced != args.end();
        if (force)
            args.erase(forced);
        if (args.size() == 3)
            return unpack(args[1], args[2], force);
    }
    if (args.size() >= 3 && args[0] == "pack")
        return pack(args[1], std::vector<std::string>(args.begin() + 2, args.end()), forName);
    bool help = args.size() == 1 && (args[0] == "--help" || args[0] == "-h");
    (help ? std::cout : std::cerr) << usage;
    return help ? 0 : 2;
}

} // namespace

int main(int argc, char** argv)
{
    // Whatever goes wrong, one line that says so and a failing exit status, never an abort.
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::bad_alloc&) {
        return fail("stopped: not enough memory");
    } catch (const std::exception& e) {
        return fail(std::string("stopped: ") + printable(e.what(), 200));
    } catch (...) {
        return fail("stopped by an unexpected error");
    }
}
