// The texture dictionary reader and writer, against files written by another
// implementation, round trips, and a deterministic fuzz of the reader.

#include "txd/txd.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "temp_dir.h"
#include "text/printable.h"

namespace {

const std::string fixtures = KELLHUD_FIXTURES_DIR "/txd/";

txd::Dictionary readFixture(const std::string& name)
{
    txd::Dictionary d;
    std::string error;
    EXPECT_TRUE(txd::readFile(fixtures + name, d, error)) << error;
    return d;
}

std::vector<uint8_t> fileBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::fgetc(f)) != EOF;)
            bytes.push_back(static_cast<uint8_t>(c));
        std::fclose(f);
    }
    return bytes;
}

// The fixture writer's pixel rule: level i of a texture made with seed s.
void expectFixturePixels(const txd::Texture& t, int seed)
{
    for (size_t i = 0; i < t.levels.size(); ++i) {
        int w = txd::levelWidth(t.width, static_cast<unsigned>(i)), h = txd::levelHeight(t.height, static_cast<unsigned>(i));
        ASSERT_EQ(t.levels[i].size(), static_cast<size_t>(w * h * 4));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = &t.levels[i][(y * w + x) * 4];
                int s = seed + static_cast<int>(i);
                EXPECT_EQ(p[0], (40 * x + s) % 256) << t.name << " level " << i << " at " << x << "," << y;
                EXPECT_EQ(p[1], (60 * y + s) % 256);
                EXPECT_EQ(p[2], (3 * s) % 256);
                EXPECT_EQ(p[3], (x + y) % 2 == 0 ? 255 : 128);
            }
    }
}

TEST(TextureDictionary, ReadsTheFixtureOfAnotherWriter)
{
    txd::Dictionary d = readFixture("two-textures.txd");
    EXPECT_EQ(d.deviceId, 2);
    ASSERT_EQ(d.textures.size(), 2u);

    const txd::Texture& north = d.textures[0];
    EXPECT_EQ(north.name, "radar_north");
    EXPECT_EQ(north.mask, "");
    EXPECT_EQ(north.width, 4);
    EXPECT_EQ(north.height, 4);
    EXPECT_EQ(north.levels.size(), 3u);
    EXPECT_EQ(north.filtering, 0x1102u);
    EXPECT_TRUE(north.hasAlpha);
    expectFixturePixels(north, 7);

    const txd::Texture& star = d.textures[1];
    EXPECT_EQ(star.name, "Star");
    EXPECT_EQ(star.mask, "starmask");
    EXPECT_EQ(star.width, 8);
    EXPECT_EQ(star.height, 2);
    EXPECT_EQ(star.levels.size(), 1u);
    expectFixturePixels(star, 90);
}

TEST(TextureDictionary, RejectsTheBrokenFixturesSayingWhatAndWhere)
{
    const std::pair<const char*, const char*> cases[] = {
        {"truncated.txd", "claims 440 bytes, but only 214 follow (at byte 0)"},
        {"size-past-end.txd", "claims 1808 bytes, but only 440 follow (at byte 0)"},
        {"count-too-high.txd", "says 9 textures, but holds only 2 (at byte 24)"},
    };
    for (const auto& [file, message] : cases) {
        txd::Dictionary d;
        std::string error;
        EXPECT_FALSE(txd::readFile(fixtures + file, d, error)) << file;
        EXPECT_NE(error.find(message), std::string::npos) << file << ": " << error;
    }
}

// Only a regular file of a size a dictionary can have is read: a pipe would block the
// reader forever, and a 2 GB file would not fit in a 32-bit program's memory.
TEST(TextureDictionary, ReadsOnlyRegularFilesOfADictionarysSize)
{
    TempDir dir;
    const std::string pipe = dir.path() + "/pipe.txd", big = dir.path() + "/big.txd";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::resize_file(dir.write("big.txd", ""), uint64_t{2} << 30); // sparse: costs no disk
    const std::pair<std::string, std::string> cases[] = {
        {fixtures + "no-such-file.txd", "cannot open " + fixtures + "no-such-file.txd"},
        {fixtures, fixtures + " is a directory"},
        {pipe, pipe + " is not a regular file"},
        {big, big + " is 2147483648 bytes, more than a texture dictionary can be (at most 536870912)"},
    };
    for (const auto& [path, message] : cases) {
        txd::Dictionary d;
        std::string error;
        EXPECT_FALSE(txd::readFile(path, d, error)) << path;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

TEST(TextureDictionary, WritesTheFixtureByteForByte)
{
    // Same stamps, device id and empty extensions: what another writer made, we make.
    EXPECT_EQ(txd::write(readFixture("two-textures.txd")), fileBytes(fixtures + "two-textures.txd"));
}

txd::Texture solid(const std::string& name, uint16_t w, uint16_t h, unsigned levels, uint8_t shade)
{
    txd::Texture t;
    t.name = name;
    t.width = w;
    t.height = h;
    for (unsigned i = 0; i < levels; ++i)
        t.levels.emplace_back(txd::levelSize(w, h, i), static_cast<uint8_t>(shade + i));
    return t;
}

// Offsets in the bytes of sample(): its first texture's struct begins here.
constexpr size_t firstStruct = 12 + 16 + 12 + 12;

txd::Dictionary sample()
{
    txd::Dictionary d;
    d.textures.push_back(solid("ring", 8, 4, 4, 10));
    d.textures.push_back(solid("dot", 1, 1, 1, 99));
    d.textures[0].mask = "ringmask";
    d.textures[0].hasAlpha = true;
    d.textures[1].filtering = 0x2201;
    return d;
}

// The textures alike (the device id is read as it stands but always written as 2).
void expectSame(const txd::Dictionary& a, const txd::Dictionary& b)
{
    ASSERT_EQ(a.textures.size(), b.textures.size());
    for (size_t i = 0; i < a.textures.size(); ++i) {
        const txd::Texture &x = a.textures[i], &y = b.textures[i];
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.mask, y.mask);
        EXPECT_EQ(x.filtering, y.filtering);
        EXPECT_EQ(x.width, y.width);
        EXPECT_EQ(x.height, y.height);
        EXPECT_EQ(x.hasAlpha, y.hasAlpha);
        EXPECT_EQ(x.levels, y.levels);
    }
}

TEST(TextureDictionary, RoundTripsThroughTheWriter)
{
    txd::Dictionary written = sample();
    std::vector<uint8_t> bytes = txd::write(written);
    txd::Dictionary read;
    std::string error;
    ASSERT_TRUE(txd::read(bytes, read, error)) << error;
    expectSame(written, read);
    EXPECT_EQ(read.deviceId, 2);
    // Mip levels are announced in the raster format, a single level is not.
    size_t second = firstStruct + txd::textureStructSize + 4 * 4 + (128 + 32 + 8 + 4) + 12 + 12 + 12;
    EXPECT_EQ(bytes[firstStruct + 72] | bytes[firstStruct + 73] << 8, 0x8500);
    EXPECT_EQ(bytes[second + 72] | bytes[second + 73] << 8, 0x0500);

    txd::Dictionary empty;
    ASSERT_TRUE(txd::read(txd::write(empty), read, error)) << error;
    EXPECT_TRUE(read.textures.empty());
}

// A dictionary is written whole beside its file and then put in its place, so a write that
// cannot finish leaves the old file (or no file) and no half-written one.
TEST(TextureDictionary, WritesWholeOrNotAtAll)
{
    namespace fs = std::filesystem;
    TempDir dir;
    const std::string file = dir.path() + "/sample.txd";
    struct Case {
        const char* what;
        std::string path;
        bool written;
        const char* said;
    } cases[] = {
        {"a new file", file, true, ""},
        {"over the old file", file, true, ""},
        {"into a missing folder", dir.path() + "/missing/sample.txd", false, "is the folder missing or read-only?"},
        {"over a folder", dir.path() + "/folder.txd", false, "cannot replace"},
    };
    fs::create_directory(dir.path() + "/folder.txd");
    std::ofstream(file) << "an older file";
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(txd::writeFile(c.path, sample(), error), c.written) << c.what;
        EXPECT_NE(error.find(c.said), std::string::npos) << c.what << ": " << error;
        if (c.written)
            EXPECT_EQ(fileBytes(c.path), txd::write(sample())) << c.what;
        else
            EXPECT_NE(error.find("nothing was changed"), std::string::npos) << c.what << ": " << error;
        EXPECT_FALSE(fs::exists(c.path + ".partial")) << c.what;
    }
    EXPECT_TRUE(fs::is_directory(dir.path() + "/folder.txd"));

    // A disk that fills while the dictionary is written: the good file stays as it was.
    if (fs::exists("/dev/full")) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << "the modder's good dictionary";
        fs::create_symlink("/dev/full", file + ".partial");
        std::string error;
        EXPECT_FALSE(txd::writeFile(file, sample(), error));
        EXPECT_EQ(error, "cannot write " + file + " (is the disk full?); nothing was changed");
        const std::vector<uint8_t> kept = fileBytes(file);
        EXPECT_EQ(std::string(kept.begin(), kept.end()), "the modder's good dictionary");
        EXPECT_FALSE(fs::exists(fs::symlink_status(file + ".partial")));
    }
}

std::string readError(std::vector<uint8_t> bytes)
{
    txd::Dictionary d;
    std::string error;
    return txd::read(bytes, d, error) ? "" : error;
}

void putU32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) { std::memcpy(&bytes[at], &v, 4); }

TEST(TextureDictionary, CheckRefusesWhatTheHostCouldNotLookUp)
{
    auto refused = [](txd::Dictionary d) {
        std::string error;
        return !txd::check(d, error) && !error.empty();
    };
    EXPECT_FALSE(refused(sample()));
    txd::Dictionary d = sample();
    // A name is looked up without regard to case, and unpacked as NAME.png: it must be a
    // plain file name on Windows and Linux alike.
    const std::pair<std::string, bool> names[] = {
        {"RING", true}, {"Ring.", true}, {std::string(31, 'a'), false}, {std::string(32, 'a'), true}, {"", true},
        {"../escaped", true}, {"/tmp/x", true}, {"a\\b", true}, {"a\x01" "b", true}, {"tab\t", true}, {"del\x7F", true},
        {"..", true}, {".", true}, {"x.", true}, {"x ", true}, {"a:b", true}, {"a*", true}, {"50%", true},
        {"CON", true}, {"nul", true}, {"Aux.x", true}, {"com1", true}, {"LPT9", true}, {"prn .a", true},
        {"con1", false}, {"comx", false}, {"com10", false}, {"..a", false}, {"a.b", false}, {" x", false},
        {"caf\xC3\xA9", false}, {"_-+=()[]{}!#$&',;@^`~", false},
    };
    for (const auto& [name, refuse] : names) {
        d.textures[1].name = name;
        EXPECT_EQ(refused(d), refuse) << printable(name);
    }
    d = sample();
    d = sample();
    d.textures[0].mask = std::string(32, 'm');
    EXPECT_TRUE(refused(d));
    d = sample();
    d.textures[0].levels.back().pop_back();
    EXPECT_TRUE(refused(d));
    d = sample();
    d.textures[0].levels.emplace_back(4, 0); // 8x4 has four levels at most
    EXPECT_TRUE(refused(d));
    d = sample();
    d.textures[1].levels.clear();
    EXPECT_TRUE(refused(d));
    d = sample();
    d.textures[1].width = 0; // its one level still holds the bytes of a 1x1 level
    EXPECT_TRUE(refused(d));
    d = sample();
    d.textures[1].height = 0;
    EXPECT_TRUE(refused(d));
}

// Level sizes computed in 32 bits wrap: 32768 x 32768 x 4 is 0, 32769 x 32769 x 4 is
// 262148. Neither reader nor writer takes such a level for a whole one.
TEST(TextureDictionary, LevelSizesThatWouldWrapIn32BitsAreRefused)
{
    struct Case {
        uint16_t size;
        uint32_t levelBytes;
        const char* message;
    };
    const Case cases[] = {
        {32768, 0, "level 0 holds 0 bytes; 32768x32768 pixels take 4294967296"},
        {32769, 262148, "level 0 holds 262148 bytes; 32769x32769 pixels take 4295229444"},
    };
    for (const Case& c : cases) {
        txd::Texture t;
        t.name = "huge";
        t.width = t.height = c.size;
        t.levels.emplace_back(c.levelBytes, 0);
        txd::Dictionary d;
        d.textures.push_back(t);
        std::string error;
        EXPECT_FALSE(txd::check(d, error)) << c.size;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        std::string read = readError(txd::write(d)); // unchecked, as another writer might
        EXPECT_NE(read.find(std::string(c.message) + " (at byte " + std::to_string(firstStruct + 88) + ")"),
                  std::string::npos)
            << read;
    }
}

// The host finds only one of two names that differ in case, and unpacking both onto a
// disk that does not tell case apart writes one over the other: the reader refuses them
// as the writer does. Names in messages are escaped.
TEST(TextureDictionary, NamesEqualButForCaseAreRefusedAndNamesInMessagesEscaped)
{
    txd::Dictionary d = sample();
    d.textures[1].name = "RiNG";
    std::vector<uint8_t> bytes = txd::write(d);
    size_t second = firstStruct - 24 + 12 + 12 + txd::textureStructSize + 4 * 4 + (128 + 32 + 8 + 4) + 12;
    EXPECT_NE(readError(bytes).find("texture 2 \"RiNG\" has the name of texture 1 \"ring\" (the game does not tell "
                                    "upper from lower case); rename one (at byte " + std::to_string(second) + ")"),
              std::string::npos)
        << readError(bytes);
    std::string error;
    EXPECT_FALSE(txd::check(d, error));
    EXPECT_NE(error.find("texture \"RiNG\" has the name of texture \"ring\""), std::string::npos) << error;
    EXPECT_TRUE(txd::sameName("RiNG", "ring"));
    EXPECT_FALSE(txd::sameName("ring", "rin"));
    EXPECT_FALSE(txd::sameName("\xC9", "\xE9")); // bytes beyond ASCII only themselves, in any locale
    EXPECT_FALSE(txd::sameName("[", "{"));

    d = sample();
    d.textures[0].name = "\x1B[2J\rring";
    bytes = txd::write(d);
    putU32(bytes, firstStruct + 88, 7);
    EXPECT_NE(readError(bytes).find("texture 1 \"\\x1B[2J\\rring\": level 0 holds 7"), std::string::npos)
        << readError(bytes);
    EXPECT_FALSE(txd::check(d, error));
    EXPECT_NE(error.find("texture \"\\x1B[2J\\rring\": a name must be usable as a file name"), std::string::npos)
        << error;
}

// What unpack names a file: the name itself when it is plain, otherwise an escaped name
// that is plain and cannot be the name of another texture.
TEST(TextureDictionary, UnsafeNamesHaveSafeFileNames)
{
    const std::pair<std::string, std::string> cases[] = {
        {"star", "star"},           {"../escaped", "..%2Fescaped"}, {"/etc/x", "%2Fetc%2Fx"}, {"a\\b", "a%5Cb"},
        {"..", ".%2E"},             {".", "%2E"},                   {"x ", "x%20"},           {"CON", "%43ON"},
        {"nul.a", "%6Eul.a"},       {"com1", "%63om1"},             {"a:b*", "a%3Ab%2A"},     {"50%", "50%25"},
        {"\x1B[2J\r", "%1B[2J%0D"}, {"con.", "con%2E"},
    };
    for (const auto& [name, file] : cases) {
        EXPECT_EQ(txd::safeFileName(name), file) << name;
        std::string why;
        std::string plain = txd::safeFileName(name);
        // Plain but for the % that marks it escaped.
        std::replace(plain.begin(), plain.end(), '%', '_');
        EXPECT_TRUE(txd::plainFileName(plain, why)) << name << ": " << why;
    }
}

TEST(TextureDictionary, RejectsInconsistentTexturesAtTheirOffset)
{
    const std::vector<uint8_t> good = txd::write(sample());
    ASSERT_EQ(readError(good), "");

    auto with = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        std::vector<uint8_t> b = good;
        std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<long>(at));
        return readError(b);
    };
    EXPECT_NE(with(firstStruct, {8}).find("platform 8 is not Direct3D 9"), std::string::npos);
    std::vector<uint8_t> unterminated = good;
    std::memset(&unterminated[firstStruct + 8], 'x', 32);
    EXPECT_NE(readError(unterminated).find("name is not terminated"), std::string::npos);
    unterminated = good;
    std::memset(&unterminated[firstStruct + 40], 'm', 32);
    EXPECT_NE(readError(unterminated).find("the mask name is not terminated within its 32 bytes (at byte " +
                                           std::to_string(firstStruct + 40) + ")"),
              std::string::npos)
        << readError(unterminated);
    EXPECT_NE(with(firstStruct + 8, {0}).find("empty name"), std::string::npos);
    EXPECT_NE(with(firstStruct + 73, {0x05}).find("does not say mip levels follow"), std::string::npos);
    EXPECT_NE(with(firstStruct + 76, {22}).find("only 32-bit B,G,R,A"), std::string::npos);
    EXPECT_NE(with(firstStruct + 84, {24}).find("only 32-bit"), std::string::npos);
    EXPECT_NE(with(firstStruct + 86, {3}).find("not a texture"), std::string::npos);
    EXPECT_NE(with(firstStruct + 85, {5}).find("5 levels; a 8x4 texture has 1 to 4"), std::string::npos);
    EXPECT_NE(with(firstStruct + 85, {0}).find("0 levels"), std::string::npos);
    EXPECT_NE(with(firstStruct + 80, {0, 0}).find("is 0x4"), std::string::npos);
    std::string wrongLevel = with(firstStruct + 88, {127});
    EXPECT_NE(wrongLevel.find("level 0 holds 127 bytes; 8x4 pixels take 128"), std::string::npos) << wrongLevel;
    EXPECT_NE(wrongLevel.find("(at byte " + std::to_string(firstStruct + 88) + ")"), std::string::npos) << wrongLevel;
    EXPECT_NE(with(firstStruct - 12, {0x02}).find("expected the texture struct chunk"), std::string::npos);

    // Any device id is read as it stands.
    txd::Dictionary device;
    std::string error;
    std::vector<uint8_t> otherDevice = good;
    otherDevice[12 + 12 + 2] = 9;
    ASSERT_TRUE(txd::read(otherDevice, device, error)) << error;
    EXPECT_EQ(device.deviceId, 9);
    EXPECT_EQ(txd::write(device), good); // and written as 2

    // A struct chunk of the fields alone lacks the level sizes; one byte less, the fields.
    std::vector<uint8_t> fieldsOnly = good;
    putU32(fieldsOnly, firstStruct - 8, txd::textureStructSize);
    EXPECT_NE(readError(fieldsOnly).find("file ends inside level size"), std::string::npos) << readError(fieldsOnly);
    putU32(fieldsOnly, firstStruct - 8, txd::textureStructSize - 1);
    EXPECT_NE(readError(fieldsOnly).find("87 bytes, fewer than the 88"), std::string::npos) << readError(fieldsOnly);

    // One level fewer than the struct chunk holds: the last level's bytes are left over.
    std::string leftOver = with(firstStruct + 85, {3});
    EXPECT_NE(leftOver.find("bytes left over after its pixels"), std::string::npos) << leftOver;

    // The file ends early: the error names the end, at every length.
    for (size_t n = 0; n < good.size(); ++n) {
        std::string error = readError(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(n)));
        EXPECT_NE(error, "") << n;
    }
    // Bytes after a dictionary that ends where its chunk says are left alone.
    std::vector<uint8_t> trailing = good;
    trailing.push_back(0);
    EXPECT_EQ(readError(trailing), "");
}

// Reads from a buffer of exactly the file's size, so that under AddressSanitizer a read
// one byte past the end is caught.
bool readExact(const std::vector<uint8_t>& bytes, txd::Dictionary& d, std::string& error)
{
    std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes.size() + (bytes.empty() ? 1 : 0)]);
    std::memcpy(copy.get(), bytes.data(), bytes.size());
    return txd::read(copy.get(), bytes.size(), d, error);
}

TEST(TextureDictionary, FuzzedFilesAreRejectedOrReadConsistentlyNeverPastTheEnd)
{
    std::vector<std::vector<uint8_t>> seeds = {txd::write(sample()), fileBytes(fixtures + "two-textures.txd")};
    std::mt19937 random(20240607);
    int accepted = 0, rejected = 0;
    for (int iteration = 0; iteration < 6000; ++iteration) {
        std::vector<uint8_t> bytes = seeds[iteration % seeds.size()];
        int edits = 1 + static_cast<int>(random() % 3);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            size_t at = random() % bytes.size();
            switch (random() % 4) {
            case 0: bytes.resize(at); break;                                           // truncate
            case 1: bytes[at] ^= static_cast<uint8_t>(1u << (random() % 8)); break;    // flip a bit
            case 2:                                                                   // a size set huge
                if (at + 4 <= bytes.size())
                    putU32(bytes, at & ~size_t{3}, random() % 2 ? 0xFFFFFFFFu : 0x7FFFFFF0u + (random() % 16));
                break;
            case 3: bytes[at] = static_cast<uint8_t>(random()); break;                // any byte
            }
        }
        txd::Dictionary d;
        std::string error;
        if (!readExact(bytes, d, error)) {
            EXPECT_NE(error.find("(at byte "), std::string::npos) << error;
            ++rejected;
            continue;
        }
        ++accepted;
        // Whatever was accepted is a dictionary the writer can write again (but for a name
        // that cannot be a file name, which it is read with), and reads back the same.
        ASSERT_TRUE(txd::check(d, error) || error.find("usable as a file name") != std::string::npos) << error;
        txd::Dictionary again;
        ASSERT_TRUE(readExact(txd::write(d), again, error)) << error;
        expectSame(d, again);
    }
    EXPECT_GT(accepted, 100); // flips in pixels and names still read
    EXPECT_GT(rejected, 1000);
}

} // namespace
