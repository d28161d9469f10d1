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
// Bytes of level i.
uint32_t levelSize(uint16_t width, uint16_t height, unsigned level);

// Reads a whole dictionary file held in memory. On failure returns false and says what is
// wrong and at which byte offset in `error`; `out` is then unspecified.
bool read(const uint8_t* data, std::size_t size, Dictionary& out, std::string& error);
bool read(const std::vector<uint8_t>& bytes, Dictionary& out, std::string& error);
// Reads a file; a file that cannot be opened fails with a message naming it.
bool readFile(const std::string& path, Dictionary& out, std::string& error);

// Checks what write needs: names of 1 to 31 bytes, masks of at most 31, no two textures
// with the same name (the host looks them up without regard to case), sizes not zero, at
// least one level and every level of the right size. Returns false with a message.
bool check(const Dictionary& dictionary, std::string& error);

// The file's bytes. The dictionary must pass check.
std::vector<uint8_t> write(const Dictionary& dictionary);
bool writeFile(const std::string& path, const Dictionary& dictionary, std::string& error);

// Case-insensitive name comparison, as the host compares texture and slot names.
bool sameName(const std::string& a, const std::string& b);

} // namespace txd
