#include "core/key_value_file.h"

#include <gtest/gtest.h>

#include <locale>
#include <random>
#include <string>

#include "fifo_guard.h"
#include "text/printable.h"
#include "temp_dir.h"

namespace {

KeyValueFile readText(const TempDir& dir, const std::string& text)
{
    KeyValueFile file;
    file.open(dir.write("file.ini", text).c_str());
    return file;
}

bool boolOf(const std::string& line)
{
    TempDir dir;
    KeyValueFile file = readText(dir, line + "\n");
    bool value = false;
    EXPECT_TRUE(file["bEnable"].tryBool(value)) << line;
    return value;
}

} // namespace

TEST(KeyValueFile, KeyAndValueSeparatorsReadAlike)
{
    EXPECT_TRUE(boolOf("bEnable = 1"));
    EXPECT_TRUE(boolOf("bEnable=1"));
    EXPECT_TRUE(boolOf("bEnable 1"));
    EXPECT_TRUE(boolOf("bEnable\t=\ttrue"));
    EXPECT_TRUE(boolOf("bEnable == 1"));
    EXPECT_TRUE(boolOf("  \t bEnable 1"));
    EXPECT_TRUE(boolOf("bEnable = 1 ; the master switch"));
    EXPECT_FALSE(boolOf("bEnable = no"));
    EXPECT_FALSE(boolOf("bEnable = FALSE"));
    EXPECT_TRUE(boolOf("bEnable = False"));
}

TEST(KeyValueFile, ScansKeysValuesAndComments)
{
    TempDir dir;
    KeyValueFile file = readText(dir,
                                 "; whole-line comment = 1\n"
                                 "  # also a comment\n"
                                 "\n"
                                 "name = a b=c \t \n"
                                 "tail = 7 # seven\n"
                                 "bare\n"
                                 "   \t\n"
                                 "Case 1\n"
                                 "quoted \"two words\"\n"
                                 "empty \"\"\n"
                                 "lone \"\n");

    ASSERT_EQ(file.entries.size(), 8u);
    EXPECT_EQ(file.commentLines.size(), 2u);
    EXPECT_EQ(file.emptyLines.size(), 1u);
    EXPECT_TRUE(file.hasEquals);

    EXPECT_EQ(file.entries[0].key, "name");
    EXPECT_EQ(file.entries[0].value, "a b=c"); // inner blanks and = kept, trailing blanks cut

    EXPECT_EQ(file.entries[1].value, "7");
    EXPECT_EQ(file.entries[1].comment, "# seven");
    EXPECT_EQ(file.entries[1].commentColumn, 9u);

    EXPECT_EQ(file.entries[2].key, "bare");
    EXPECT_EQ(file.entries[2].value, "");
    EXPECT_EQ(file.entries[3].key, ""); // a line of blanks
    EXPECT_EQ(file.entries[4].key, "Case");

    EXPECT_TRUE(file["quoted"].quoted);
    EXPECT_EQ(file["quoted"].asText("x"), "two words");
    EXPECT_FALSE(file["name"].quoted);
    EXPECT_EQ(file["empty"].asText("x"), ""); // two quotes hold an empty text
    EXPECT_FALSE(file["lone"].quoted);        // one is no quoting
    EXPECT_EQ(file["lone"].asText("x"), "\"");
    EXPECT_TRUE(file["case"].missing); // keys are case-sensitive
}

TEST(KeyValueFile, FirstLineOfAKeyWins)
{
    TempDir dir;
    KeyValueFile file = readText(dir, "iRadarAlpha 10\niRadarAlpha 20\n");
    int32_t value = 0;
    ASSERT_TRUE(file["iRadarAlpha"].tryInt(value));
    EXPECT_EQ(value, 10);
}

TEST(KeyValueFile, LookUpOfAnAbsentKeyReadsAsMissingAndAddsNothing)
{
    TempDir dir;
    KeyValueFile file = readText(dir, "a 1\n");

    const KeyValueEntry& absent = file["b"];
    EXPECT_TRUE(absent.missing);
    EXPECT_TRUE(absent.quoted);
    EXPECT_EQ(absent.value, "");
    EXPECT_EQ(absent.asText("fallback"), "fallback");
    EXPECT_EQ(file.entries.size(), 1u);

    (void)file["b"];
    EXPECT_EQ(file.entries.size(), 1u);
    EXPECT_FALSE(file["a"].missing);
}

TEST(KeyValueFile, UnreadableFileHasNoEntries)
{
    TempDir dir;
    KeyValueFile absent;
    absent.open((dir.path() + "/nothing.ini").c_str());
    EXPECT_TRUE(absent.read);
    EXPECT_TRUE(absent.entries.empty());

    KeyValueFile unnamed;
    unnamed.open("");
    EXPECT_TRUE(unnamed.entries.empty());
    EXPECT_TRUE(unnamed["bEnable"].missing);

    // A FIFO is never opened: that would stall the host's start-up until a writer came.
    FifoGuard fifo(dir.path() + "/fifo.ini");
    ASSERT_TRUE(fifo.created());
    KeyValueFile pipe;
    pipe.open((dir.path() + "/fifo.ini").c_str());
    EXPECT_TRUE(pipe.read);
    EXPECT_TRUE(pipe["bEnable"].missing);
    EXPECT_FALSE(fifo.readerWaited());
}

TEST(KeyValueFile, CrLfLinesReadAsLfLines)
{
    TempDir dir;
    KeyValueFile crlf = readText(dir, "key = \"v\"\r\n\r\nnext a\rb\r\n");
    ASSERT_EQ(crlf.entries.size(), 2u);
    EXPECT_EQ(crlf.entries[0].value, "\"v\"");
    EXPECT_TRUE(crlf.entries[0].quoted);
    EXPECT_EQ(crlf.emptyLines.size(), 1u);
    EXPECT_EQ(crlf.entries[1].value, "a\rb"); // only the CR of a line end goes

    // The last line reads alike whatever ends it, a lone CR at the end of the file included.
    for (const char* text : {"bEnable = 0", "bEnable = 0\n", "bEnable = 0\r\n", "bEnable = 0\r"}) {
        KeyValueFile file = readText(dir, text);
        EXPECT_EQ(file["bEnable"].value, "0") << printable(text);
        EXPECT_TRUE(file.emptyLines.empty()) << printable(text);
    }
    EXPECT_EQ(readText(dir, "a 1\n\r").emptyLines, (std::vector<uint32_t>{2}));
}

TEST(KeyValueFile, ByteOrderMarkAtTheStartIsSkipped)
{
    TempDir dir;
    KeyValueFile file = readText(dir, "\xEF\xBB\xBF"
                                      "bEnable = 1\n"
                                      "\xEF\xBB\xBF"
                                      "iVesk 2\n");
    EXPECT_FALSE(file["bEnable"].missing);
    EXPECT_EQ(file["bEnable"].value, "1");
    // Only the start of the file is a mark; elsewhere the bytes belong to the key.
    EXPECT_TRUE(file["iVesk"].missing);

    KeyValueFile onlyMark = readText(dir, "\xEF\xBB\xBF\r\n; comment\n");
    EXPECT_TRUE(onlyMark.entries.empty());
    EXPECT_EQ(onlyMark.emptyLines.size(), 1u);
}

TEST(KeyValueEntry, BoolNeedsAValue)
{
    KeyValueEntry entry;
    bool value = true;
    EXPECT_FALSE(entry.tryBool(value));
    entry.value = "0";
    ASSERT_TRUE(entry.tryBool(value));
    EXPECT_FALSE(value);
    entry.value = "yes";
    ASSERT_TRUE(entry.tryBool(value));
    EXPECT_TRUE(value);
}

TEST(KeyValueEntry, IntTakesTheLeadingNumber)
{
    KeyValueEntry entry;
    int32_t value = 99;
    entry.value = "200abc";
    ASSERT_TRUE(entry.tryInt(value));
    EXPECT_EQ(value, 200);
    entry.value = "-5";
    ASSERT_TRUE(entry.tryInt(value));
    EXPECT_EQ(value, -5);
    entry.value = "-2147483648";
    ASSERT_TRUE(entry.tryInt(value));
    EXPECT_EQ(value, INT32_MIN);

    value = 99;
    for (const char* bad : {"abc", "", "2147483648", "-2147483649", "+"}) {
        entry.value = bad;
        EXPECT_FALSE(entry.tryInt(value)) << bad;
    }
    EXPECT_EQ(value, 99);
}

TEST(KeyValueEntry, FloatListsStopAtTheFirstBadToken)
{
    using Quad = std::array<float, 4>;
    using Pair = std::array<float, 2>;
    KeyValueEntry entry;
    entry.value = "10 20 0.5 1.2";
    EXPECT_EQ(entry.asQuad(), (Quad{10, 20, 0.5f, 1.2f}));
    entry.value = "10 20";
    EXPECT_EQ(entry.asQuad(), (Quad{10, 20, 0, 0}));
    entry.value = "1 2 3 4 5 6";
    EXPECT_EQ(entry.asQuad(), (Quad{1, 2, 3, 4}));
    entry.value = "1.5,2";
    EXPECT_EQ(entry.asPair(), (Pair{1.5f, 0}));
    entry.value = "x 2";
    EXPECT_EQ(entry.asPair(), (Pair{0, 0}));
    entry.value = "-3\t4e1";
    EXPECT_EQ(entry.asPair(), (Pair{-3, 40}));
    entry.value = "1 1e99 3";
    EXPECT_EQ(entry.asQuad(), (Quad{1, 0, 0, 0}));
}

TEST(KeyValueEntry, NumbersIgnoreTheProcessLocale)
{
    struct CommaDecimal : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));

    KeyValueEntry entry;
    entry.value = "1.5 2";
    EXPECT_EQ(entry.asPair(), (std::array<float, 2>{1.5f, 2}));

    std::locale::global(previous);
}

TEST(KeyValueEntry, ColourChannelsKeepTheirLowByte)
{
    const Colour fallback{1, 2, 3, 4};
    KeyValueEntry entry;
    auto colour = [&](const char* value) {
        entry.value = value;
        const Colour c = entry.asColour(fallback);
        return std::array<int, 4>{c.r, c.g, c.b, c.a};
    };
    EXPECT_EQ(colour("255 128 0 255"), (std::array<int, 4>{255, 128, 0, 255}));
    EXPECT_EQ(colour("300 256 -1 0 7"), (std::array<int, 4>{44, 0, 255, 0}));
    EXPECT_EQ(colour("10 20"), (std::array<int, 4>{10, 20, 3, 4}));
    EXPECT_EQ(colour("10 2.5 30"), (std::array<int, 4>{10, 2, 3, 4}));
    EXPECT_EQ(colour(""), (std::array<int, 4>{1, 2, 3, 4}));
}

TEST(KeyValueEntry, TextDropsTheQuotes)
{
    KeyValueEntry entry;
    entry.value = "\"\"";
    entry.quoted = true;
    EXPECT_EQ(entry.asText("d"), "");
    entry.value = "\"";
    entry.quoted = false;
    EXPECT_EQ(entry.asText("d"), "\"");
    entry.value = "";
    EXPECT_EQ(entry.asText("d"), "");
}

TEST(KeyValueFile, RandomBytesGiveWellFormedEntries)
{
    std::mt19937 random(1234);
    std::string bytes;
    // Mostly the bytes the scanner reacts to, with NULs and everything else mixed in.
    const std::string special = std::string("#;= \t\r\n\"\xEF\xBB\xBF", 11) + std::string(1, '\0');
    for (int i = 0; i < 200000; ++i) {
        const uint32_t r = random();
        bytes += (r & 1) ? special[(r >> 1) % special.size()] : static_cast<char>(r >> 8);
    }
    size_t lines = 0;
    for (char c : bytes)
        lines += c == '\n';
    lines += bytes.back() != '\n';

    TempDir dir;
    KeyValueFile file = readText(dir, bytes);
    EXPECT_EQ(file.entries.size() + file.commentLines.size() + file.emptyLines.size(), lines);
    for (const KeyValueEntry& entry : file.entries) {
        EXPECT_EQ(entry.key.find_first_of(std::string(" \t=#;")), std::string::npos);
        EXPECT_EQ(entry.value.find_first_of("#;"), std::string::npos);
        if (!entry.value.empty()) {
            EXPECT_NE(entry.value.back(), ' ');
            EXPECT_NE(entry.value.back(), '\t');
        }
        bool b;
        int32_t n;
        entry.tryBool(b);
        entry.tryInt(n);
        entry.asQuad();
        entry.asColour(Colour{});
        entry.asText("");
    }
}

TEST(KeyValueFile, VeryLongLinesAreReadWhole)
{
    const std::string longValue(1 << 20, '7');
    std::string numbers;
    for (int i = 0; i < 100000; ++i)
        numbers += std::to_string(i % 10) + " ";
    TempDir dir;
    KeyValueFile file = readText(dir, std::string(1 << 20, 'k') + "\n" +
                                          "long " + longValue + "\n" +
                                          "numbers " + numbers + "\n" +
                                          "after 1\n");
    EXPECT_EQ(file.entries.size(), 4u);
    EXPECT_EQ(file["long"].value, longValue);
    int32_t n = 0;
    EXPECT_FALSE(file["long"].tryInt(n)); // out of range
    EXPECT_EQ(file["numbers"].asQuad(), (std::array<float, 4>{0, 1, 2, 3}));
    EXPECT_EQ(file["after"].value, "1");
}
