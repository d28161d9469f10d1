#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The host's texture dictionary files (.txd): reading and writing. Only the form the
// host's Direct3D 9 renderer takes from us is handled: 32-bit B,G,R,A pixels, optionally
// with mip levels. A reader never reads past the end of what it is given, and rejects a
// file that does not hold together with a message that says what is wrong and where.

namespace txd {

// Chunk types.
constexpr uint32_t chunkStruct = 0x01;
constexpr uint32_t chunkExtension = 0x03;
constexpr uint32_t chunkTexture = 0x15;
constexpr uint32_t chunkDictionary = 0x16;

// What the writer stamps into every chunk header and the dictionary's struct; the reader
// accepts any stamp and any device id.
constexpr uint32_t versionStamp = 0x1803FFFF;
constexpr uint16_t deviceId = 2;

// Texture struct fields.
constexpr uint32_t platformDirect3D9 = 9;
constexpr uint32_t rasterFormat8888 = 0x0500;
constexpr uint32_t rasterHasMipLevels = 0x8000;
constexpr uint32_t pixelFormatB8G8R8A8 = 21;
constexpr uint8_t depth32 = 32;
constexpr uint8_t rasterTypeTexture = 4;
constexpr uint8_t flagHasAlpha = 0x01;
constexpr std::size_t nameSize = 32; // name and mask name, NUL-padded
constexpr std::size_t textureStructSize = 88;

// Linear filtering, both directions wrapping: what the writer uses unless told otherwise.
constexpr uint32_t defaultFiltering = 0x1102;

// The largest dictionary file read or written. Chunk sizes are 32 bits, so the format
// itself stops short of 4 GiB; the host and the simulated host are 32-bit programs that
// hold a whole dictionary in memory twice while loading it, so the bound is lower: 512 MiB
// still holds an 8192x8192 texture with all its levels.
constexpr uint64_t maxFileSize = uint64_t{512} << 20;

struct Texture {
    std::string name;
    std::string mask; // often empty
    uint32_t filtering = defaultFiltering; // bits 0-7 filter mode, 8-11 U, 12-15 V addressing
    uint16_t width = 0;
    uint16_t height = 0;
    bool hasAlpha = false;
    // Level 0 first, each (max(1, width >> i) * max(1, height >> i)) pixels of B,G,R,A.
    std::vector<std::vector<uint8_t>> levels;
};

struct Dictionary {
    uint16_t deviceId = txd::deviceId; // as read; the writer always writes txd::deviceId
    std::vector<Texture> textures;
};

// Width and height of mip level i of a width x height texture.
uint16_t levelWidth(uint16_t width, unsigned level);
uint16_t levelHeight(uint16_t height, unsigned level);
// Bytes of level i; 64 bits, since a 65535x65535 level takes nearly 16 GiB.
uint64_t levelSize(uint16_t width, uint16_t height, unsigned level);

// Reads a whole dictionary file held in memory. On failure returns false and says what is
// wrong and at which byte offset in `error`; `out` is then unspecified.
bool read(const uint8_t* data, std::size_t size, Dictionary& out, std::string& error);
bool read(const std::vector<uint8_t>& bytes, Dictionary& out, std::string& error);
// Reads a file; a file that cannot be opened, is not a regular file (a pipe would block
// the reader forever) or is larger than maxFileSize fails with a message naming it.
bool readFile(const std::string& path, Dictionary& out, std::string& error);

// The whole of a regular file of at most `limit` bytes; anything else (missing, a folder,
// a pipe or device, too large, unreadable) fails with a message naming the file. `what`
// names the kind of file in the message ("a texture dictionary").
bool readRegularFile(const std::string& path, uint64_t limit, const char* what, std::string& bytes,
                     std::string& error);

// Checks what write needs, and so everything read refuses: names of 1 to 31 bytes that
// are plain file names (see plainFileName), masks of at most 31, no two textures with
// the same name under sameName, sizes not zero, at least one level, every level of the
// right size and the whole file at most maxFileSize. Returns false with a message.
bool check(const Dictionary& dictionary, std::string& error);

// The size of the dictionary's file as write makes it.
uint64_t fileSize(const Dictionary& dictionary);

// The file's bytes. The dictionary must pass check.
std::vector<uint8_t> write(const Dictionary& dictionary);
bool writeFile(const std::string& path, const Dictionary& dictionary, std::string& error);

// Name comparison as the host's look-up compares texture and slot names: A to Z and a to
// z alike, every other byte only itself (whatever the program's locale).
bool sameName(const std::string& a, const std::string& b);

// Whether a texture name can be a file name as it stands, on Windows as on Linux, so
// that unpack writes NAME.png inside its folder and nowhere else: no separator, no
// control byte, none of < > : " | ? * %, no trailing dot or space (which also rules out
// "." and ".."), and not a device name of Windows (CON, PRN, AUX, NUL, COM0 to COM9,
// LPT0 to LPT9, with any extension). On false, `why` says what is wrong.
bool plainFileName(const std::string& name, std::string& why);
// The name itself when it is a plain file name; otherwise one that is: every unsafe byte
// as %XX, and a device name with "_" in front.
std::string safeFileName(const std::string& name);

} // namespace txd
