// kellhud-txd: lists, unpacks and packs the host's texture dictionary files, so that a
// modder can see what a dictionary holds and replace its pictures with PNG files.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "mip_chain.h"
#include "png.h"
#include "text/printable.h"
#include "txd.h"

namespace {

const char usage[] =
    "usage: kellhud-txd list FILE.txd\n"
    "       kellhud-txd unpack FILE.txd DIR\n"
    "       kellhud-txd pack OUT.txd A.png [B.png ...]\n"
    "\n"
    "list    prints each texture of a dictionary: name, mask, size, levels, format\n"
    "unpack  writes each texture's first level as DIR/NAME.png (a name that cannot be a\n"
    "        file name is written with its unsafe bytes as %XX, and said so)\n"
    "pack    makes one dictionary of PNG files; each texture is named after its file\n"
    "        (star.png becomes \"star\") and gets its mip levels down to 1x1\n";

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

int list(const std::string& path)
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
    return 0;
}

int unpack(const std::string& path, const std::string& dir)
{
    txd::Dictionary dictionary;
    if (!load(path, dictionary))
        return 1;
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec)
        return fail("cannot make the folder " + dir + ": " + ec.message());
    for (const txd::Texture& t : dictionary.textures) {
        png::Image image{t.width, t.height, t.levels[0]};
        swapRedBlue(image.rgba);
        // A name from the file may be "../x", "/etc/x" or "CON": it must not choose where
        // the picture goes.
        std::string file = txd::safeFileName(t.name);
        std::string out = (std::filesystem::path(dir) / (file + ".png")).string();
        std::string why;
        if (!txd::plainFileName(t.name, why))
            std::cerr << "kellhud-txd: warning: texture \"" << printable(t.name) << "\" cannot be a file name as it stands ("
                      << why << "); written as " << out << ". Rename the PNG file before packing it again.\n";
        std::string error;
        if (!png::write(out, image, error))
            return fail(error);
        std::printf("%s\n", out.c_str());
    }
    return 0;
}

bool packOne(const std::string& file, txd::Dictionary& dictionary)
{
    std::string name = std::filesystem::path(file).stem().string();
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

int pack(const std::string& out, const std::vector<std::string>& files)
{
    txd::Dictionary dictionary;
    for (const std::string& file : files)
        if (!packOne(file, dictionary))
            return 1;
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

int run(const std::vector<std::string>& args)
{
    if (args.size() == 2 && args[0] == "list")
        return list(args[1]);
    if (args.size() == 3 && args[0] == "unpack")
        return unpack(args[1], args[2]);
    if (args.size() >= 3 && args[0] == "pack")
        return pack(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
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
