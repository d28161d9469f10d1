#include "studio/data_edit.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/key_value_file.h"
#include "temp_dir.h"

using studio::FileKind;
using studio::ValueChange;

namespace {

std::string shipped(const std::string& relative)
{
    return readWholeFile(std::string(KELLHUD_ASSETS_DIR) + "/kell-hud/" + relative);
}

std::string withLineEnds(const std::string& text, const std::string& end)
{
    std::string out;
    for (char c : text) {
        if (c == '\r')
            continue;
        out += c == '\n' ? end : std::string(1, c);
    }
    return out;
}

std::vector<std::string> tokensOf(const std::string& value)
{
    std::vector<std::string> tokens;
    std::string token;
    for (char c : value + ' ') {
        if (c == ' ' || c == '\t') {
            if (!token.empty())
                tokens.push_back(token);
            token.clear();
        } else {
            token += c;
        }
    }
    return tokens;
}

KeyValueFile readBack(const TempDir& dir, const std::string& name, const std::string& text)
{
    KeyValueFile file;
    file.open(dir.write(name, text).c_str());
    return file;
}

std::string apply(const std::string& text, FileKind kind, const std::vector<ValueChange>& changes)
{
    std::string error;
    const std::optional<std::string> result = studio::applyChanges(text, kind, changes, error);
    EXPECT_TRUE(result) << error;
    return result.value_or("");
}

// The strongest check: the plug-in's own reader finds the new values under the changed
// keys, and every other key, comment and comment line as it was.
void expectReaderSees(const std::string& before, const std::string& after, const std::vector<ValueChange>& changes,
                      const std::string& label)
{
    TempDir dir;
    const KeyValueFile old = readBack(dir, "before.dat", before);
    const KeyValueFile now = readBack(dir, "after.dat", after);
    std::map<std::string, std::vector<std::string>> wanted;
    for (const ValueChange& change : changes)
        wanted[change.key] = change.values;
    std::size_t added = 0;
    for (const auto& [key, values] : wanted) {
        EXPECT_EQ(tokensOf(now[key].value), values) << label << ": " << key;
        EXPECT_EQ(now[key].comment, old[key].comment) << label << ": " << key;
        added += old[key].missing;
    }
    for (const KeyValueEntry& entry : old.entries)
        if (!wanted.count(entry.key)) {
            EXPECT_EQ(now[entry.key].value, old[entry.key].value) << label << ": " << entry.key;
            EXPECT_EQ(now[entry.key].comment, old[entry.key].comment) << label << ": " << entry.key;
        }
    EXPECT_EQ(now.entries.size(), old.entries.size() + added) << label;
    EXPECT_EQ(now.commentLines, old.commentLines) << label;
}

// Every entry of `text` set to the values it already has.
std::vector<ValueChange> currentValues(const std::string& text)
{
    TempDir dir;
    std::vector<ValueChange> changes;
    for (const KeyValueEntry& entry : readBack(dir, "file.dat", text).entries)
        if (!entry.key.empty() && !entry.value.empty())
            changes.push_back({entry.key, tokensOf(entry.value)});
    return changes;
}

} // namespace

TEST(StudioDataEdit, SavingWithoutAChangeKeepsEveryByte)
{
    const std::string settings = shipped("settings.ini");
    const std::string layout = shipped("data/hud.dat");
    const std::string colours = shipped("data/hudColor.dat");
    ASSERT_NE(layout.find("\r\n"), std::string::npos); // the shipped CRLF case is covered
    const struct {
        const char* name;
        std::string text;
        FileKind kind;
    } rows[] = {
        {"settings.ini", settings, FileKind::Settings},
        {"hud.dat", layout, FileKind::Layout},
        {"hudColor.dat", colours, FileKind::Colours},
        {"settings.ini with CRLF", withLineEnds(settings, "\r\n"), FileKind::Settings},
        {"hud.dat with LF", withLineEnds(layout, "\n"), FileKind::Layout},
        {"hudColor.dat with a BOM", "\xEF\xBB\xBF" + colours, FileKind::Colours},
        {"settings.ini with a BOM, no last line end", "\xEF\xBB\xBF" + settings.substr(0, settings.size() - 1),
         FileKind::Settings},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(apply(row.text, row.kind, {}), row.text) << row.name;
        const std::vector<ValueChange> same = currentValues(row.text);
        EXPECT_GT(same.size(), 10u) << row.name;
        EXPECT_EQ(apply(row.text, row.kind, same), row.text) << row.name;
    }
}

TEST(StudioDataEdit, EditsGiveExactBytes)
{
    // Numbers that end in columns, as in hudColor.dat.
    const std::string colours = "; colours\r\n"
                                "RED      200  45  45 255   ; red\r\n"
                                "WHITE    230 230 230 255   ; white\r\n"
                                "BLACK      0   0   0 255\r\n";
    // Numbers that start in columns, as in hud.dat.
    const std::string layout = "; layout\r\n"
                               "HUD_RADAR_MAP      170    170    100    100\r\n"
                               "HUD_AMMO           101    88     0.7    1.4\r\n"
                               "HUD_CASH     =     101    186    0.75   1.5    ; cash\r\n"
                               "HUD_SECOND_AMMO    101    290    0.7    1.4  right-top\r\n"
                               "HUD_AMMO           1      2      3      4\r\n";
    const std::string settings = "; settings\n"
                                 "bEnable = 1\n"
                                 "iRadarAlpha = 255 ; opacity\n"
                                 "bNoValue =\n"
                                 "bLast = 0";
    const std::string colourHead = "; colours\r\nRED      200  45  45 255   ; red\r\n";
    const std::string black = "BLACK      0   0   0 255\r\n";
    const std::string layoutHead = "; layout\r\n";
    const std::string layoutTail = "HUD_AMMO           1      2      3      4\r\n";
    const std::string middle = "HUD_AMMO           101    88     0.7    1.4\r\n"
                               "HUD_CASH     =     101    186    0.75   1.5    ; cash\r\n"
                               "HUD_SECOND_AMMO    101    290    0.7    1.4  right-top\r\n";
    const std::string radar = "HUD_RADAR_MAP      170    170    100    100\r\n";
    const struct {
        const char* name;
        std::string text;
        FileKind kind;
        std::vector<ValueChange> changes;
        std::string expected;
    } rows[] = {
        {"a shorter number keeps its column's right edge", colours, FileKind::Colours,
         {{"WHITE", {"5", "230", "230", "255"}}},
         colourHead + "WHITE      5 230 230 255   ; white\r\n" + black},
        {"so does one after a single space", colours, FileKind::Colours, {{"WHITE", {"230", "5", "230", "255"}}},
         colourHead + "WHITE    230   5 230 255   ; white\r\n" + black},
        {"a column of equal numbers follows the line's other columns", colours, FileKind::Colours,
         {{"WHITE", {"230", "230", "230", "5"}}}, colourHead + "WHITE    230 230 230   5   ; white\r\n" + black},
        {"a longer number takes the padding before it", colours, FileKind::Colours,
         {{"BLACK", {"100", "0", "0", "255"}}},
         colourHead + "WHITE    230 230 230 255   ; white\r\nBLACK    100   0   0 255\r\n"},
        {"without padding, the comment gives way and keeps a blank", colours, FileKind::Colours,
         {{"WHITE", {"230", "230", "230", "1000"}}},
         colourHead + "WHITE    230 230 230 1000  ; white\r\n" + black},
        {"a shorter number keeps the next column's left edge", layout, FileKind::Layout,
         {{"HUD_RADAR_MAP", {"5", "170", "100", "100"}}},
         layoutHead + "HUD_RADAR_MAP      5      170    100    100\r\n" + middle + layoutTail},
        {"a longer number takes the padding after it", layout, FileKind::Layout,
         {{"HUD_RADAR_MAP", {"1700", "170", "100", "100"}}},
         layoutHead + "HUD_RADAR_MAP      1700   170    100    100\r\n" + middle + layoutTail},
        {"a number longer than its column pushes only the next one", layout, FileKind::Layout,
         {{"HUD_RADAR_MAP", {"12345678", "170", "100", "100"}}},
         layoutHead + "HUD_RADAR_MAP      12345678 170  100    100\r\n" + middle + layoutTail},
        {"an anchor added after one space", layout, FileKind::Layout,
         {{"HUD_RADAR_MAP", {"170", "170", "100", "100", "right-top"}}},
         layoutHead + "HUD_RADAR_MAP      170    170    100    100 right-top\r\n" + middle + layoutTail},
        {"an anchor removed with its spacing", layout, FileKind::Layout,
         {{"HUD_SECOND_AMMO", {"101", "290", "0.7", "1.4"}}},
         layoutHead + radar +
             "HUD_AMMO           101    88     0.7    1.4\r\n"
             "HUD_CASH     =     101    186    0.75   1.5    ; cash\r\n"
             "HUD_SECOND_AMMO    101    290    0.7    1.4\r\n" +
             layoutTail},
        {"a longer anchor takes the padding before it", layout, FileKind::Layout,
         {{"HUD_SECOND_AMMO", {"101", "290", "0.7", "1.4", "centre-bottom"}}},
         layoutHead + radar +
             "HUD_AMMO           101    88     0.7    1.4\r\n"
             "HUD_CASH     =     101    186    0.75   1.5    ; cash\r\n"
             "HUD_SECOND_AMMO    101    290    0.7    1.4 centre-bottom\r\n" +
             layoutTail},
        {"a key with '=' and a comment that keeps its column", layout, FileKind::Layout,
         {{"HUD_CASH", {"101", "186", "0.75", "2.25"}}},
         layoutHead + radar +
             "HUD_AMMO           101    88     0.7    1.4\r\n"
             "HUD_CASH     =     101    186    0.75   2.25   ; cash\r\n"
             "HUD_SECOND_AMMO    101    290    0.7    1.4  right-top\r\n" +
             layoutTail},
        {"a key given twice changes on its first line only", layout, FileKind::Layout,
         {{"HUD_AMMO", {"90", "60", "0.5", "1"}}},
         layoutHead + radar +
             "HUD_AMMO           90     60     0.5    1\r\n"
             "HUD_CASH     =     101    186    0.75   1.5    ; cash\r\n"
             "HUD_SECOND_AMMO    101    290    0.7    1.4  right-top\r\n" +
             layoutTail},
        {"a missing key is added with the file's CRLF", layout, FileKind::Layout,
         {{"HUD_NEW", {"1", "2", "3", "4"}}}, layout + "HUD_NEW 1 2 3 4\r\n"},
        {"settings: values, an empty value, a last line without its line end, a missing key", settings,
         FileKind::Settings,
         {{"bEnable", {"0"}}, {"bNoValue", {"1"}}, {"bLast", {"1"}}, {"bNew", {"1"}}},
         "; settings\nbEnable = 0\niRadarAlpha = 255 ; opacity\nbNoValue = 1\nbLast = 1\nbNew = 1\n"},
        {"a singly spaced value moves; its comment stays", settings, FileKind::Settings, {{"iRadarAlpha", {"5"}}},
         "; settings\nbEnable = 1\niRadarAlpha = 5   ; opacity\nbNoValue =\nbLast = 0"},
        {"a later change of the same key wins", settings, FileKind::Settings,
         {{"bEnable", {"0"}}, {"bEnable", {"yes"}}},
         "; settings\nbEnable = yes\niRadarAlpha = 255 ; opacity\nbNoValue =\nbLast = 0"},
        {"no blank after '='", "bEnable=1\n", FileKind::Settings, {{"bEnable", {"0"}}}, "bEnable=0\n"},
        {"several '='", "a == 1 2\n", FileKind::Layout, {{"a", {"3", "4"}}}, "a == 3 4\n"},
        {"a BOM before the key", "\xEF\xBB\xBF" "bEnable = 1\r\n", FileKind::Settings, {{"bEnable", {"0"}}},
         "\xEF\xBB\xBF" "bEnable = 0\r\n"},
        {"a comment right after the value", "a 10;c\n", FileKind::Settings, {{"a", {"5"}}}, "a 5;c\n"},
        {"a comment right after the key", "KEY;c 5\n", FileKind::Layout, {{"KEY", {"1"}}}, "KEY 1;c 5\n"},
        {"tabs", "HUD_X\t100\t200 ; c\n", FileKind::Layout, {{"HUD_X", {"5", "200"}}}, "HUD_X\t5\t200   ; c\n"},
        {"a tab before the value is kept", "HUD_X  \t5 200\n", FileKind::Layout, {{"HUD_X", {"500", "200"}}},
         "HUD_X  \t500 200\n"},
        {"a column of equal numbers among left-aligned ones",
         "A      1      100    7\nBB     22     100    88\nCCC    333    100    999\n", FileKind::Layout,
         {{"A", {"1", "5", "7"}}}, "A      1      5      7\nBB     22     100    88\nCCC    333    100    999\n"},
        {"no value after a '=' that ends the key", "bNoValue=\n", FileKind::Settings, {{"bNoValue", {"1"}}},
         "bNoValue= 1\n"},
        {"padding without other lines reads as right-aligned", "HUD_X    100 200\n", FileKind::Layout,
         {{"HUD_X", {"5", "200"}}}, "HUD_X      5 200\n"},
        {"fewer values: the comment keeps its column", "K 1 2 3 ; c\n", FileKind::Layout, {{"K", {"1"}}},
         "K 1     ; c\n"},
        {"an empty file", "", FileKind::Layout, {{"HUD_X", {"1", "2"}}}, "HUD_X 1 2\n"},
        {"a BOM alone", "\xEF\xBB\xBF", FileKind::Settings, {{"bEnable", {"1"}}}, "\xEF\xBB\xBF" "bEnable = 1\n"},
        {"a last line ending in a lone CR", "a 1\r", FileKind::Layout, {{"b", {"2"}}}, "a 1\r\nb 2\n"},
        {"the line end of the first line decides", "; x\r\na 1", FileKind::Layout, {{"b", {"2"}}},
         "; x\r\na 1\r\nb 2\r\n"},
        {"a key only inside a comment is missing", "; HUD_X 1\n", FileKind::Layout, {{"HUD_X", {"2"}}},
         "; HUD_X 1\nHUD_X 2\n"},
        {"a longer key that starts with the key is another key", "HUD_XY 1\n", FileKind::Layout,
         {{"HUD_X", {"2"}}}, "HUD_XY 1\nHUD_X 2\n"},
    };
    for (const auto& row : rows) {
        const std::string result = apply(row.text, row.kind, row.changes);
        EXPECT_EQ(result, row.expected) << row.name;
        expectReaderSees(row.text, result, row.changes, row.name);
    }
}

TEST(StudioDataEdit, RefusesWhatTheReaderWouldTakeApart)
{
    const struct {
        ValueChange change;
        const char* named; // in the error
    } rows[] = {
        {{"", {"1"}}, "no key"},
        {{"HUD X", {"1"}}, "\"HUD X\""},
        {{"HUD_X=", {"1"}}, "\"HUD_X=\""},
        {{"#HUD_X", {"1"}}, "\"#HUD_X\""},
        {{"HUD_X\n", {"1"}}, "HUD_X"},
        {{"HUD_X", {}}, "\"HUD_X\" has no values"},
        {{"HUD_X", {"1", ""}}, "\"HUD_X\""},
        {{"HUD_X", {"1 2"}}, "\"HUD_X\""},
        {{"HUD_X", {"1\t2"}}, "\"HUD_X\""},
        {{"HUD_X", {"1;2"}}, "\"HUD_X\""},
        {{"HUD_X", {"1#"}}, "\"HUD_X\""},
        {{"HUD_X", {"=1"}}, "\"HUD_X\""},
        {{"HUD_X", {"1\r"}}, "\"HUD_X\""},
        {{"HUD_X", {"1\n2"}}, "\"HUD_X\""},
        {{"HUD_X", {std::string("1\0", 2)}}, "\"HUD_X\""},
        {{"HUD_X", {"1\x7F"}}, "\"HUD_X\""},
    };
    for (const auto& row : rows) {
        std::string error;
        // A safe change before the unsafe one is not applied either.
        const std::optional<std::string> result =
            studio::applyChanges("a 1\n", FileKind::Layout, {{"a", {"2"}}, row.change}, error);
        EXPECT_FALSE(result) << row.named;
        EXPECT_NE(error.find(row.named), std::string::npos) << error;
    }
    // Characters outside ASCII are no danger: UTF-8 names pass.
    std::string error;
    EXPECT_EQ(studio::applyChanges("a 1\n", FileKind::Layout, {{"a", {"\xC3\xA9"}}}, error), "a \xC3\xA9\n");
}

TEST(StudioDataEdit, ShippedFilesTakeEveryKeyChangedAndBack)
{
    const struct {
        const char* name;
        std::string text;
        FileKind kind;
    } rows[] = {
        {"settings.ini", shipped("settings.ini"), FileKind::Settings},
        {"hud.dat", shipped("data/hud.dat"), FileKind::Layout},
        {"hudColor.dat", shipped("data/hudColor.dat"), FileKind::Colours},
    };
    for (const auto& row : rows) {
        const std::vector<ValueChange> original = currentValues(row.text);
        std::vector<ValueChange> changes;
        for (std::size_t k = 0; k < original.size(); ++k) {
            std::vector<std::string> values;
            for (std::size_t i = 0; i < original[k].values.size(); ++i)
                values.push_back(std::to_string((k + i) % 3 == 0 ? 7 : (k + i) % 3 == 1 ? 42 : 180));
            if (row.kind == FileKind::Layout && k % 2 == 0)
                values.push_back("right-top");
            changes.push_back({original[k].key, values});
        }
        changes.push_back({"NEW_KEY", {"1", "2"}});
        const std::string edited = apply(row.text, row.kind, changes);
        expectReaderSees(row.text, edited, changes, row.name);

        // Numbers that fit their columns keep every column, comments included, so putting
        // the old values back gives the file back (all but the added line).
        TempDir dir;
        const KeyValueFile before = readBack(dir, "before", row.text);
        const KeyValueFile after = readBack(dir, "after", edited);
        for (const KeyValueEntry& entry : before.entries)
            EXPECT_EQ(after[entry.key].commentColumn, entry.commentColumn) << row.name << ": " << entry.key;
        const std::string restored = apply(edited, row.kind, original);
        EXPECT_EQ(restored.substr(0, row.text.size()), row.text) << row.name;
    }
}
