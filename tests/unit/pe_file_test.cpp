// The PE reader behind --check-host: a file is mapped as the loader maps it, and a file that
// is no 32-bit Windows program, or is cut short anywhere, is refused with words that say so.

#include "pe_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

void put(std::vector<uint8_t>& file, uint32_t at, uint32_t value, unsigned size)
{
    std::memcpy(file.data() + at, &value, size);
}

// A two-section program at 0x400000: .text (RVA 0x1000, 0x10 bytes from the file at 0x200,
// mapped 0x20) and .data right after it (RVA 0x1020, 8 bytes at 0x210).
std::vector<uint8_t> smallProgram()
{
    std::vector<uint8_t> file(0x218, 0);
    put(file, 0, 0x5A4D, 2);
    put(file, 0x3C, 0x40, 4);
    put(file, 0x40, 0x4550, 4);
    put(file, 0x44, 0x14C, 2);
    put(file, 0x46, 2, 2);
    put(file, 0x54, 224, 2);
    put(file, 0x58, 0x10B, 2);
    put(file, 0x58 + 28, 0x400000, 4);
    put(file, 0x58 + 60, 0x200, 4);
    const uint32_t text = 0x58 + 224, data = text + 40;
    std::memcpy(file.data() + text, ".text", 5);
    put(file, text + 8, 0x20, 4);
    put(file, text + 12, 0x1000, 4);
    put(file, text + 16, 0x10, 4);
    put(file, text + 20, 0x200, 4);
    std::memcpy(file.data() + data, ".data", 5);
    put(file, data + 8, 8, 4);
    put(file, data + 12, 0x1020, 4);
    put(file, data + 16, 8, 4);
    put(file, data + 20, 0x210, 4);
    for (uint32_t i = 0; i < 0x18; ++i)
        file[0x200 + i] = static_cast<uint8_t>(0xA0 + i);
    return file;
}

} // namespace

TEST(PeFile, MapsSectionsAtTheirAddressesAndReadsNothingElse)
{
    sim::PeImage image;
    std::string error;
    ASSERT_TRUE(sim::readPeImage(smallProgram(), image, error)) << error;
    EXPECT_EQ(image.imageBase, 0x400000u);
    const injector::ByteSource source = sim::peByteSource(image);
    uint8_t bytes[8] = {};
    ASSERT_TRUE(source(0x40100E, bytes, 4)); // file data, then the zeroed rest of the section
    EXPECT_EQ(bytes[0], 0xAE);
    EXPECT_EQ(bytes[1], 0xAF);
    EXPECT_EQ(bytes[2], 0);
    ASSERT_TRUE(source(0x40101E, bytes, 4)) << "a read across two adjacent sections";
    EXPECT_EQ(bytes[2], 0xB0);
    EXPECT_EQ(bytes[3], 0xB1);
    ASSERT_TRUE(source(0x400000, bytes, 2)) << "the headers are mapped too";
    EXPECT_EQ(bytes[0], 'M');
    EXPECT_FALSE(source(0x401026, bytes, 4)) << "past the last section";
    EXPECT_FALSE(source(0x3FFFFE, bytes, 4)) << "before the image";
    EXPECT_FALSE(source(0xFFFFFFFE, bytes, 4)) << "past the address space";

    // A section that claims far more than the file holds reads as zeros past the file's part.
    std::vector<uint8_t> claiming = smallProgram();
    put(claiming, 0x58 + 224 + 40 + 8, 0x3F000000, 4);
    ASSERT_TRUE(sim::readPeImage(claiming, image, error)) << error;
    const uint8_t ones[4] = {1, 1, 1, 1};
    std::memcpy(bytes, ones, 4);
    ASSERT_TRUE(sim::peByteSource(image)(0x401020 + 0x3EFFFFFC, bytes, 4));
    EXPECT_EQ(std::memcmp(bytes, "\0\0\0\0", 4), 0);
    ASSERT_TRUE(sim::peByteSource(image)(0x401026, bytes, 4));
    EXPECT_EQ(bytes[0], 0xB6);
    EXPECT_EQ(bytes[2], 0);
}

TEST(PeFile, RefusesWhatIsNoWholeThirtyTwoBitProgram)
{
    const struct {
        const char* what;
        uint32_t at;
        uint32_t value;
        unsigned size;
        size_t cutTo; // 0: not cut
        const char* says;
    } cases[] = {
        {"no MZ", 0, 0x4D5A, 2, 0, "not a Windows program"},
        {"too short for a DOS header", 0, 0x5A4D, 2, 0x20, "not a Windows program"},
        {"PE header past the end", 0x3C, 0xFFFFFFF0, 4, 0, "no \"PE\" header"},
        {"no PE signature", 0x40, 0x4551, 4, 0, "no \"PE\" header"},
        {"another machine", 0x44, 0x8664, 2, 0, "not a 32-bit x86 program (machine type 34404)"},
        {"64-bit optional header", 0x58, 0x20B, 2, 0, "a 64-bit program"},
        {"unknown optional header", 0x58, 0x107, 2, 0, "not a 32-bit PE one"},
        {"optional header too small", 0x54, 64, 2, 0, "headers are cut short"},
        {"optional header cut", 0x54, 224, 2, 0x100, "headers are cut short"},
        {"no sections", 0x46, 0, 2, 0, "section count"},
        {"too many sections", 0x46, 97, 2, 0, "section count"},
        {"section table cut", 0x46, 40, 2, 0, "section table is cut short"},
        {"section data cut", 0, 0x5A4D, 2, 0x214, "cut short: its section .data needs 536 bytes and the file has 532"},
        {"image base past 4 GB", 0x58 + 28, 0xFFFFFF00, 4, 0, "image base lies outside a 32-bit address space"},
        {"section past 4 GB", 0x58 + 224 + 12, 0xFFFFF000, 4, 0, "section .text lies outside a 32-bit address space"},
        {"huge section", 0x58 + 224 + 8, 0xFFC00000, 4, 0, "section .text lies outside"},
        // ".t\r": a section name is the file's to choose, and is shown escaped.
        {"a name that moves the cursor", 0x58 + 224, 0x000D742E, 4, 0x208, "its section .t\\r needs 528 bytes and the file has 520"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> file = smallProgram();
        put(file, c.at, c.value, c.size);
        if (c.cutTo)
            file.resize(c.cutTo);
        sim::PeImage image;
        std::string error;
        EXPECT_FALSE(sim::readPeImage(file, image, error));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
    sim::PeImage image;
    std::string error;
    EXPECT_FALSE(sim::readPeImage(std::string("/nonexistent/game.exe"), image, error));
    EXPECT_EQ(error, "cannot open it");
}
