#include "txd.h"

#include "text/utf8_path.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <map>
#include <stdexcept>

#include "text/file_kind.h"
#include "text/printable.h"
#include "text/utf8_path.h"

namespace txd {

namespace {

// A reading failure: what is wrong and the byte offset it was found at.
struct FormatError : std::runtime_error {
    FormatError(const std::string& what, std::size_t offset)
        : std::runtime_error(what + " (at byte " + std::to_string(offset) + ")")
    {
    }
};

std::string hex(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

const char* chunkName(uint32_t type)
{
    switch (type) {
    case chunkStruct: return "struct";
    case chunkExtension: return "extension";
    case chunkTexture: return "texture";
    case chunkDictionary: return "texture dictionary";
    default: return "unknown";
    }
}

// Reads little-endian values from [at, end) of the file; every read is checked against
// `end`, which a chunk narrows to its own payload.
class Cursor {
public:
    Cursor(const uint8_t* data, std::size_t at, std::size_t end) : data(data), at(at), end(end) {}

    std::size_t offset() const { return at; }
    std::size_t left() const { return end - at; }
    std::size_t limit() const { return end; }

    void need(std::size_t n, const char* what) const
    {
        if (n > left())
            throw FormatError(std::string("file ends inside ") + what + ": " + std::to_string(n) +
                                  " bytes needed, " + std::to_string(left()) + " left",
                              at);
    }
    uint8_t u8(const char* what)
    {
        need(1, what);
        return data[at++];
    }
    uint16_t u16(const char* what)
    {
        need(2, what);
        uint16_t v = static_cast<uint16_t>(data[at] | data[at + 1] << 8);
        at += 2;
        return v;
    }
    uint32_t u32(const char* what)
    {
        need(4, what);
        uint32_t v = data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
        at += 4;
        return v;
    }
    const uint8_t* bytes(std::size_t n, const char* what)
    {
        need(n, what);
        const uint8_t* p = data + at;
        at += n;
        return p;
    }
    // The type of the chunk that starts here, or 0 when no chunk header fits.
    uint32_t peekType() const
    {
        Cursor ahead = *this;
        return left() < 12 ? 0 : ahead.u32("chunk type");
    }

    // The payload of the next chunk, which must be of the given type and lie within this
    // cursor's range.
    Cursor chunk(uint32_t type, const char* what)
    {
        std::size_t start = at;
        if (left() < 12)
            throw FormatError(std::string("file ends before the ") + what + " chunk's header", start);
        uint32_t found = u32(what);
        uint32_t size = u32(what);
        u32(what); // version stamp: any
        if (found != type)
            throw FormatError(std::string("expected the ") + what + " chunk (type " + hex(type) + "), found type " +
                                  hex(found) + " (" + chunkName(found) + ")",
                              start);
        if (size > left())
            throw FormatError(std::string("the ") + what + " chunk claims " + std::to_string(size) +
                                  " bytes, but only " + std::to_string(left()) + " follow",
                              start);
        Cursor payload(data, at, at + size);
        at += size;
        return payload;
    }

private:
    const uint8_t* data;
    std::size_t at;
    std::size_t end;
};

std::string fixedName(const uint8_t* bytes, const char* what, std::size_t offset)
{
    std::size_t length = 0;
    while (length < nameSize && bytes[length] != 0)
        ++length;
    if (length == nameSize)
        throw FormatError(std::string(what) + " is not terminated within its 32 bytes", offset);
    return std::string(reinterpret_cast<const char*>(bytes), length);
}

// A texture name, quoted and escaped for a message.
std::string inQuotes(const std::string& name) { return "\"" + printable(name, 40) + "\""; }

// The name as sameName compares it: one spelling for all that compare equal.
std::string folded(const std::string& name)
{
    std::string out = name;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

Texture readTexture(Cursor& dictionary, std::size_t index)
{
    std::string which = "texture " + std::to_string(index + 1);
    Cursor texture = dictionary.chunk(chunkTexture, "texture");
    Cursor s = texture.chunk(chunkStruct, "texture struct");
    std::size_t structStart = s.offset();
    if (s.left() < textureStructSize)
        throw FormatError(which + ": struct holds " + std::to_string(s.left()) + " bytes, fewer than the " +
                              std::to_string(textureStructSize) + " of its fields",
                          structStart);

    Texture t;
    uint32_t platform = s.u32("platform");
    if (platform != platformDirect3D9)
        throw FormatError(which + ": platform " + std::to_string(platform) + " is not Direct3D 9 (9)", structStart);
    t.filtering = s.u32("filtering");
    std::size_t nameAt = s.offset();
    t.name = fixedName(s.bytes(nameSize, "name"), "the name", nameAt);
    if (t.name.empty())
        throw FormatError(which + " has an empty name", nameAt);
    which += " " + inQuotes(t.name);
    t.mask = fixedName(s.bytes(nameSize, "mask name"), "the mask name", nameAt + nameSize);

    std::size_t formatAt = s.offset();
    uint32_t raster = s.u32("raster format");
    uint32_t pixel = s.u32("pixel format");
    t.width = s.u16("width");
    t.height = s.u16("height");
    uint8_t depth = s.u8("depth");
    uint8_t levelCount = s.u8("level count");
    uint8_t rasterType = s.u8("raster type");
    uint8_t flags = s.u8("flags");
    t.hasAlpha = flags & flagHasAlpha;

    if ((raster & ~rasterHasMipLevels) != rasterFormat8888 || pixel != pixelFormatB8G8R8A8 || depth != depth32)
        throw FormatError(which + ": raster format " + hex(raster) + ", pixel format " + std::to_string(pixel) +
                              ", depth " + std::to_string(depth) +
                              "; only 32-bit B,G,R,A (0x0500, 21, 32) is supported",
                          formatAt);
    if (rasterType != rasterTypeTexture)
        throw FormatError(which + ": raster type " + std::to_string(rasterType) + " is not a texture (4)", formatAt);
    if (t.width == 0 || t.height == 0)
        throw FormatError(which + " is " + std::to_string(t.width) + "x" + std::to_string(t.height), formatAt);
    unsigned chain = 1;
    while ((t.width >> chain) || (t.height >> chain))
        ++chain;
    if (levelCount == 0 || levelCount > chain)
        throw FormatError(which + ": " + std::to_string(levelCount) + " levels; a " + std::to_string(t.width) + "x" +
                              std::to_string(t.height) + " texture has 1 to " + std::to_string(chain),
                          formatAt);
    if (levelCount > 1 && !(raster & rasterHasMipLevels))
        throw FormatError(which + ": " + std::to_string(levelCount) +
                              " levels, but the raster format does not say mip levels follow (0x8000)",
                          formatAt);

    for (unsigned i = 0; i < levelCount; ++i) {
        std::size_t levelAt = s.offset();
        uint32_t size = s.u32("level size");
        uint64_t expected = levelSize(t.width, t.height, i);
        if (size != expected)
            throw FormatError(which + ": level " + std::to_string(i) + " holds " + std::to_string(size) +
                                  " bytes; " + std::to_string(levelWidth(t.width, i)) + "x" +
                                  std::to_string(levelHeight(t.height, i)) + " pixels take " +
                                  std::to_string(expected),
                              levelAt);
        const uint8_t* pixels = s.bytes(size, "pixels");
        t.levels.emplace_back(pixels, pixels + size);
    }
    if (s.left() != 0)
        throw FormatError(which + ": " + std::to_string(s.left()) + " bytes left over after its pixels", s.offset());

    texture.chunk(chunkExtension, "texture extension");
    if (texture.left() != 0)
        throw FormatError(which + ": " + std::to_string(texture.left()) + " bytes left over after its extension",
                          texture.offset());
    return t;
}

Dictionary readDictionary(const uint8_t* data, std::size_t size)
{
    Cursor file(data, 0, size);
    Cursor d = file.chunk(chunkDictionary, "texture dictionary");
    Cursor s = d.chunk(chunkStruct, "dictionary struct");
    std::size_t countAt = s.offset();
    uint16_t count = s.u16("texture count");
    Dictionary out;
    out.deviceId = s.u16("device id");
    std::map<std::string, std::size_t> seen; // folded name -> index
    for (std::size_t i = 0; i < count; ++i) {
        // The dictionary's own extension, or its end, where a texture should be.
        if (d.left() == 0 || d.peekType() == chunkExtension)
            throw FormatError("the dictionary says " + std::to_string(count) + " textures, but holds only " +
                                  std::to_string(i),
                              countAt);
        std::size_t textureAt = d.offset();
        out.textures.push_back(readTexture(d, i));
        const std::string& name = out.textures.back().name;
        auto [it, added] = seen.emplace(folded(name), i);
        // The host would find only one of the two, and unpacking them on a disk that does
        // not tell case apart would write one over the other.
        if (!added)
            throw FormatError("texture " + std::to_string(i + 1) + " " + inQuotes(name) + " has the name of texture " +
                                  std::to_string(it->second + 1) + " " + inQuotes(out.textures[it->second].name) +
                                  " (the game does not tell upper from lower case); rename one",
                              textureAt);
    }
    d.chunk(chunkExtension, "dictionary extension");
    if (d.left() != 0)
        throw FormatError(std::to_string(d.left()) + " bytes left over after the dictionary's extension; the " +
                              "dictionary says " + std::to_string(count) + " textures",
                          d.offset());
    return out;
}

void put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void putHeader(std::vector<uint8_t>& out, uint32_t type, std::size_t size)
{
    put32(out, type);
    put32(out, static_cast<uint32_t>(size));
    put32(out, versionStamp);
}

void putName(std::vector<uint8_t>& out, const std::string& name)
{
    out.insert(out.end(), name.begin(), name.end());
    out.insert(out.end(), nameSize - name.size(), 0);
}

std::vector<uint8_t> textureStruct(const Texture& t)
{
    std::vector<uint8_t> s;
    put32(s, platformDirect3D9);
    put32(s, t.filtering);
    putName(s, t.name);
    putName(s, t.mask);
    put32(s, rasterFormat8888 | (t.levels.size() > 1 ? rasterHasMipLevels : 0));
    put32(s, pixelFormatB8G8R8A8);
    put16(s, t.width);
    put16(s, t.height);
    s.push_back(depth32);
    s.push_back(static_cast<uint8_t>(t.levels.size()));
    s.push_back(rasterTypeTexture);
    s.push_back(t.hasAlpha ? flagHasAlpha : 0);
    for (const std::vector<uint8_t>& level : t.levels) {
        put32(s, static_cast<uint32_t>(level.size()));
        s.insert(s.end(), level.begin(), level.end());
    }
    return s;
}

} // namespace

uint16_t levelWidth(uint16_t width, unsigned level)
{
    unsigned w = level < 16 ? width >> level : 0;
    return static_cast<uint16_t>(w ? w : 1);
}

uint16_t levelHeight(uint16_t height, unsigned level) { return levelWidth(height, level); }

uint64_t levelSize(uint16_t width, uint16_t height, unsigned level)
{
    return uint64_t{levelWidth(width, level)} * levelHeight(height, level) * 4;
}

bool read(const uint8_t* data, std::size_t size, Dictionary& out, std::string& error)
{
    try {
        out = readDictionary(data, size);
        return true;
    } catch (const FormatError& e) {
        error = e.what();
        return false;
    } catch (const std::bad_alloc&) {
        error = "not enough memory for the " + std::to_string(size) + " bytes of its textures";
        return false;
    }
}

bool read(const std::vector<uint8_t>& bytes, Dictionary& out, std::string& error)
{
    return read(bytes.data(), bytes.size(), out, error);
}

bool readRegularFile(const std::string& path, uint64_t limit, const char* what, std::string& bytes,
                     std::string& error)
{
    const FileLook look = lookAt(path);
    if (look.kind == FileKind::Missing) {
        error = "cannot open " + path + ": no such file";
        return false;
    }
    if (look.kind == FileKind::Directory) {
        error = path + " is a directory, not " + what;
        return false;
    }
    if (look.kind == FileKind::Other) {
        error = path + " is not a regular file (a pipe, device or socket), so it cannot be " + what;
        return false;
    }
    const uint64_t size = look.size;
    if (size > limit) {
        error = path + " is " + std::to_string(size) + " bytes, more than " + what + " can be (at most " +
                std::to_string(limit) + ")";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    try {
        // Read in large blocks: a byte at a time costs seconds per file under the sanitizers.
        bytes.clear();
        bytes.reserve(static_cast<std::size_t>(size));
        char block[1 << 16];
        while (bytes.size() <= limit && (in.read(block, sizeof block) || in.gcount() > 0))
            bytes.append(block, static_cast<std::size_t>(in.gcount()));
    } catch (const std::bad_alloc&) {
        error = "not enough memory to read " + path + " (" + std::to_string(size) + " bytes)";
        return false;
    }
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    if (bytes.size() > limit) { // it grew while being read
        error = path + " is more than " + std::to_string(limit) + " bytes, more than " + what + " can be";
        return false;
    }
    return true;
}

bool readFile(const std::string& path, Dictionary& out, std::string& error)
{
    std::string bytes;
    if (!readRegularFile(path, maxFileSize, "a texture dictionary", bytes, error))
        return false;
    return read(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out, error);
}

bool sameName(const std::string& a, const std::string& b) { return a.size() == b.size() && folded(a) == folded(b); }

namespace {

// Why the byte cannot be in a file name; nullptr when it can.
const char* unsafeByte(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F)
        return "it holds a control byte";
    if (c == '/' || c == '\\')
        return "it holds a folder separator (/ or \\)";
    if (c == '%')
        return "it holds %, which marks an escaped name";
    if (std::string_view("<>:\"|?*").find(c) != std::string_view::npos)
        return "it holds one of < > : \" | ? *, which a Windows file name cannot";
    return nullptr;
}

// CON, PRN, AUX, NUL, COM0-9, LPT0-9, with any extension: Windows opens the device.
bool deviceName(const std::string& name)
{
    std::string base = folded(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    if (base == "con" || base == "prn" || base == "aux" || base == "nul")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
           base[3] >= '0' && base[3] <= '9';
}

std::string escaped(char c)
{
    char text[4];
    std::snprintf(text, sizeof text, "%%%02X", static_cast<unsigned char>(c));
    return text;
}

} // namespace

bool plainFileName(const std::string& name, std::string& why)
{
    for (char c : name)
        if (const char* reason = unsafeByte(c)) {
            why = reason;
            return false;
        }
    if (name.empty()) {
        why = "it is empty";
        return false;
    }
    if (name.back() == '.' || name.back() == ' ') {
        why = "it ends in a dot or a space, which Windows drops from file names";
        return false;
    }
    if (deviceName(name)) {
        why = "it is the name of a Windows device";
        return false;
    }
    return true;
}

std::string safeFileName(const std::string& name)
{
    std::string why;
    if (plainFileName(name, why))
        return name;
    // Every escaped name holds a %, which no plain name does, and the escape can be
    // undone, so an escaped name never meets the name of another texture.
    std::string out;
    for (char c : name)
        out += unsafeByte(c) ? escaped(c) : std::string(1, c);
    if (out.empty())
        return "%";
    if (out.back() == '.' || out.back() == ' ')
        out = out.substr(0, out.size() - 1) + escaped(out.back());
    if (deviceName(out))
        out = escaped(out[0]) + out.substr(1);
    return out;
}

bool check(const Dictionary& dictionary, std::string& error)
{
    if (dictionary.textures.size() > 0xFFFF) {
        error = "more than 65535 textures";
        return false;
    }
    // Dictionary header, struct and extension; each texture adds its own below.
    uint64_t total = 12 + 12 + 4 + 12;
    std::map<std::string, std::size_t> seen; // folded name -> index
    for (std::size_t i = 0; i < dictionary.textures.size(); ++i) {
        const Texture& t = dictionary.textures[i];
        std::string which = "texture " + inQuotes(t.name);
        std::string why;
        if (t.name.empty() || t.name.size() >= nameSize || t.name.find('\0') != std::string::npos) {
            error = which + ": a name takes 1 to 31 bytes";
            return false;
        }
        if (!plainFileName(t.name, why)) {
            error = which + ": a name must be usable as a file name (it is unpacked as NAME.png), but " + why;
            return false;
        }
        if (t.mask.size() >= nameSize || t.mask.find('\0') != std::string::npos) {
            error = which + ": a mask name takes at most 31 bytes";
            return false;
        }
        auto [it, added] = seen.emplace(folded(t.name), i);
        if (!added) {
            error = which + " has the name of texture " + inQuotes(dictionary.textures[it->second].name) +
                    " (the game does not tell upper from lower case); rename one";
            return false;
        }
        if (t.width == 0 || t.height == 0) {
            error = which + " has no pixels";
            return false;
        }
        unsigned chain = 1;
        while ((t.width >> chain) || (t.height >> chain))
            ++chain;
        if (t.levels.empty() || t.levels.size() > chain) {
            error = which + ": " + std::to_string(t.levels.size()) + " levels; it can have 1 to " + std::to_string(chain);
            return false;
        }
        total += 12 + 12 + textureStructSize + 12;
        for (std::size_t level = 0; level < t.levels.size(); ++level) {
            uint64_t expected = levelSize(t.width, t.height, static_cast<unsigned>(level));
            if (t.levels[level].size() != expected) {
                error = which + ": level " + std::to_string(level) + " holds " + std::to_string(t.levels[level].size()) +
                        " bytes; " + std::to_string(levelWidth(t.width, static_cast<unsigned>(level))) + "x" +
                        std::to_string(levelHeight(t.height, static_cast<unsigned>(level))) + " pixels take " +
                        std::to_string(expected);
                return false;
            }
            total += 4 + expected;
        }
        if (total > maxFileSize) {
            error = which + ": the dictionary would be larger than " + std::to_string(maxFileSize) +
                    " bytes, more than a texture dictionary can be";
            return false;
        }
    }
    return true;
}

uint64_t fileSize(const Dictionary& dictionary)
{
    uint64_t size = 12 + 12 + 4 + 12; // dictionary header, struct and extension
    for (const Texture& t : dictionary.textures) {
        size += 12 + 12 + textureStructSize + 12;
        for (const std::vector<uint8_t>& level : t.levels)
            size += 4 + level.size();
    }
    return size;
}

std::vector<uint8_t> write(const Dictionary& dictionary)
{
    std::vector<uint8_t> body;
    putHeader(body, chunkStruct, 4);
    put16(body, static_cast<uint16_t>(dictionary.textures.size()));
    put16(body, deviceId);
    for (const Texture& t : dictionary.textures) {
        std::vector<uint8_t> s = textureStruct(t);
        putHeader(body, chunkTexture, 12 + s.size() + 12);
        putHeader(body, chunkStruct, s.size());
        body.insert(body.end(), s.begin(), s.end());
        putHeader(body, chunkExtension, 0);
    }
    putHeader(body, chunkExtension, 0);

    std::vector<uint8_t> out;
    putHeader(out, chunkDictionary, body.size());
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

bool writeFile(const std::string& path, const Dictionary& dictionary, std::string& error)
{
    if (!check(dictionary, error))
        return false;
    std::vector<uint8_t> bytes = write(dictionary);
    // Written whole beside the file, then put in its place: a full disk, a folder that
    // refuses writing or a file another program holds open leaves the old file as it was.
    const std::filesystem::path target = utf8Path(path);
    std::filesystem::path partial = target;
    partial += ".partial";
    std::ofstream out(partial, std::ios::binary);
    if (!out) {
        error = "cannot write " + path + ": cannot make " + utf8Text(partial) +
                " (is the folder missing or read-only?); nothing was changed";
        return false;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    std::error_code ec;
    if (!out) {
        std::filesystem::remove(partial, ec);
        error = "cannot write " + path + " (is the disk full?); nothing was changed";
        return false;
    }
    std::filesystem::rename(partial, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        error = "cannot replace " + path + ": " + ec.message() +
                " (is it open in another program, or read-only?); nothing was changed";
        return false;
    }
    return true;
}

} // namespace txd
