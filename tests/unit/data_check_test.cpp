// The data checker: every line the plug-in's reader will read differently from what it
// says is named by file and line, and the shipped files pass clean.

#include "check/data_check.h"
#include "check/overlaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <random>
#include <string>
#include <vector>

#include "fifo_guard.h"
#include "temp_dir.h"
#include "txd/txd.h"

namespace {

using check::DataFile;
using check::Finding;
using check::Severity;

// The findings for a file holding these bytes.
std::vector<Finding> checkText(const std::string& bytes, DataFile kind)
{
    TempDir dir;
    return check::checkDataFile(dir.write("file.txt", bytes), kind);
}

// The finding on a line that mentions `text`, or nullptr.
const Finding* findingAt(const std::vector<Finding>& findings, uint32_t line, const std::string& text)
{
    for (const Finding& f : findings)
        if (f.line == line && f.message.find(text) != std::string::npos)
            return &f;
    return nullptr;
}

size_t countAt(const std::vector<Finding>& findings, uint32_t line)
{
    size_t n = 0;
    for (const Finding& f : findings)
        n += f.line == line;
    return n;
}

std::string allSettingsBut(const std::string& left)
{
    std::string text;
    for (const char* key : {"bEnable", "iVesk", "bEnableHotKey", "bStatsBox", "bCellphone", "bRadioHud",
                            "bEnableBlendingMode", "iRadarAlpha", "iGangOverlayAlpha", "bUseKellFonts",
                            "bKellOnFootCamera", "bKellVehicleCamera", "bKellMarkers"})
        if (key != left)
            text += std::string(key) + " = 0\n";
    return text;
}

// Whole files, each line named for what the reader makes of it; lines not listed give
// nothing, and line 0 stands for the file as a whole (keys never given).
TEST(DataCheck, EachLineIsNamedForWhatTheReaderMakesOfIt)
{
    struct Named {
        uint32_t line;
        const char* says;
        Severity severity;
    };
    struct Case {
        DataFile kind;
        std::string text;
        std::vector<Named> named;
        std::vector<const char*> notMissing; // keys the file gives, so never named as missing
        size_t total;                         // every finding, when counted (see below)
    };
    const Severity E = Severity::Error, W = Severity::Warning;
    const Case cases[] = {
        {DataFile::Settings,
         "; comment\n"                  // 1
         "\n"                           // 2
         "bEnable = off\r\n"            // 3: reads as on
         "benable = 1\n"                // 4: wrong case
         "bStatsBox =\n"                // 5: no value
         "iRadarAlpha = abc\n"          // 6: no number
         "iGangOverlayAlpha = 200abc\n" // 7: reads as 200
         "iVesk = 5\n"                  // 8: base style
         "bEnable = 1\n"                // 9: second one ignored
         "bColour = 1\n"                // 10: unknown, and like no known key
         "bCellphone = yes\n"           // 11: fine
         "bRadioHud = NO\n"             // 12: fine
         "bKellMarkers = \"0\"\n"       // 13: a quoted 0 is on
         "bUseKellFonts = False\n",     // 14: only FALSE and false are off
         {{3, "reads as 1 (on)", E},
          {4, "did you mean bEnable?", E},
          {5, "bStatsBox has no value", E},
          {6, "not a whole number: it reads as 0", E},
          {7, "reads as 200", E},
          {8, "base style", W},
          {9, "on line 3", W},
          {10, "unknown key bColour: the plug-in never reads it", E},
          {13, "reads as 1 (on)", E},
          {14, "reads as 1 (on)", E},
          {0, "bEnableHotKey is missing: it reads as 0 (off)", W},
          {0, "bKellVehicleCamera is missing", W}},
         {"bEnable", "bCellphone"},
         0},
        {DataFile::Settings, allSettingsBut(""), {}, {}, 0},
        // iRadarAlpha given twice: only the repetition is named.
        {DataFile::Settings,
         allSettingsBut("iVesk") + "iVesk = 2 ; sabel\n\tiRadarAlpha\t255\n",
         {{14, "iRadarAlpha is given again", W}},
         {},
         1},
        {DataFile::Layout,
         "# layout\n"
         "HUD_AMMO 1.5,2 3 4\n"              // 2: stops at the comma
         "HUD_CASH = 1 2\n"                  // 3: two of four
         "HUD_RADAR_OFFSET_X_Y 1 2 3\n"      // 4: one too many
         "HUD_RADAR_MAP 10 20 30.5 40\n"     // 5: fine
         "HUD_PLAYER_INFO_OFFSET_X_Y -4 8\n" // 6: fine
         "HUD_ZONE_NAME 0 0 1 1 ; right\n",  // 7: fine
         {{2, "stops at \",2 3 4\"", E},
          {2, "reads 1.5 0 0 0", E},
          {3, "2 of 4 numbers; it reads as 1 2 0 0", E},
          {4, "only the first 2 numbers count; it reads as 1 2", E},
          {0, "HUD_SECOND_BREATH_BAR is missing: it reads as 0", W}},
         {"HUD_ZONE_NAME"},
         0},
        {DataFile::Colours,
         "HUD_COLOUR_RED 256 0 0 255\n"  // 1: wraps to 0
         "HUD_COLOUR_GREEN 0 255 0\n"    // 2: alpha left out
         "HUD_COLOUR_BLUE 0 0 255 255\n" // 3: fine
         "HUD_COLOUR_GREY 128.5 0 0 1\n" // 4: no decimals
         "HUD_COLOR_PINK 1 2 3 4\n",     // 5: unknown
         {{1, "256 is outside 0 to 255; it reads as 0", E},
          {2, "3 of 4 numbers; it reads as 0 255 0 255", E},
          {4, "stops at \".5 0 0 1\"", E},
          {5, "unknown key HUD_COLOR_PINK", E},
          {0, "HUD_COLOUR_PINK is missing: it reads as 255 255 255 255", W}},
         {"HUD_COLOUR_BLUE"},
         0},
    };
    for (const Case& c : cases) {
        const std::vector<Finding> f = checkText(c.text, c.kind);
        const std::string first = c.text.substr(0, 20);
        for (const Named& n : c.named) {
            const Finding* found = findingAt(f, n.line, n.says);
            EXPECT_TRUE(found && found->severity == n.severity) << first << ": line " << n.line << ": " << n.says;
        }
        const uint32_t lines = static_cast<uint32_t>(std::count(c.text.begin(), c.text.end(), '\n'));
        for (uint32_t line = 1; line <= lines; ++line)
            if (std::none_of(c.named.begin(), c.named.end(), [&](const Named& n) { return n.line == line; })) {
                EXPECT_EQ(countAt(f, line), 0u) << first << ": line " << line;
            }
        for (const char* key : c.notMissing)
            EXPECT_FALSE(findingAt(f, 0, std::string(key) + " is missing")) << key;
        // Counted where the case lists every finding: a clean file, or one named line.
        if (c.total || c.named.empty()) {
            EXPECT_EQ(f.size(), c.total) << first;
        }
    }
    // Nothing near bColour: no guess is offered.
    const std::vector<Finding> unlike = checkText("bColour = 1\n", DataFile::Settings);
    ASSERT_TRUE(findingAt(unlike, 1, "unknown key bColour"));
    EXPECT_EQ(findingAt(unlike, 1, "unknown key bColour")->message.find("did you mean"), std::string::npos);
}

TEST(DataCheck, FilesThatAreNotPlainTextGiveOneError)
{
    const std::string utf16le("\xFF\xFE" "b\0E\0n\0a\0b\0l\0e\0 \0=\0 \0" "1\0\n\0", 26);
    const std::string utf16be("\0b\0E\0n\0a\0b\0l\0e\0 \0=\0 \0" "1\0\n", 24);
    const std::string utf16leBare = utf16le.substr(2); // no byte-order mark: the zeros alone tell
    // Letters beyond Latin hold no zero byte: the byte-order mark alone tells.
    const std::string cyrillicLe("\xFF\xFE\x10\x04\x11\x04\x12\x04", 8), cyrillicBe("\xFE\xFF\x04\x10\x04\x11", 6);
    for (const std::string& bytes : {utf16le, utf16be, utf16leBare, cyrillicLe, cyrillicBe}) {
        const std::vector<Finding> f = checkText(bytes, DataFile::Settings);
        ASSERT_EQ(f.size(), 1u);
        EXPECT_EQ(f[0].line, 1u);
        EXPECT_NE(f[0].message.find("UTF-16"), std::string::npos);
    }

    std::mt19937 random(9);
    std::string noise;
    for (int i = 0; i < 3000; ++i)
        noise += static_cast<char>(random() & 0xFF);
    const std::vector<Finding> f = checkText(noise, DataFile::Layout);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].severity, Severity::Error);
    EXPECT_NE(f[0].message.find("not a text file"), std::string::npos);
    EXPECT_EQ(f[0].message.find("UTF-16"), std::string::npos);
    // Two stray zeros in ten bytes, on either side, are too few for UTF-16: bytes no text holds.
    for (const std::string& bytes : {std::string("a\0b\0cdefgh", 10), std::string("\0a\0bcdefgh", 10)}) {
        const std::vector<Finding> stray = checkText(bytes, DataFile::Settings);
        ASSERT_EQ(stray.size(), 1u);
        EXPECT_TRUE(findingAt(stray, 1, "byte 0x00 is no text")) << stray[0].message;
    }

    // A UTF-8 byte-order mark and accented comments are text.
    EXPECT_FALSE(findingAt(checkText("\xEF\xBB\xBFHUD_COLOUR_RED 1 2 3 4 ; rot \xC3\xA9\n", DataFile::Colours), 1, ""));

    // Old Mac line ends: the reader sees one line, and says what it makes of it.
    struct CrOnly {
        const char* bytes;
        const char* reads;
    } crOnly[] = {
        {"; Kell Hud\rbEnable = 1\riVesk = 0\r", "one comment line, so every key is lost"},
        {" = bEnable = 1\rbStatsBox 1", "the key bEnable with the rest of the file"},
    };
    for (const CrOnly& c : crOnly) {
        const std::vector<Finding> f = checkText(c.bytes, DataFile::Settings);
        ASSERT_EQ(f.size(), 1u) << c.bytes;
        EXPECT_TRUE(findingAt(f, 1, "no line ends but CR")) << f[0].message;
        EXPECT_TRUE(findingAt(f, 1, c.reads)) << f[0].message;
    }
    // One CR at the very end is just the end of the last line.
    EXPECT_TRUE(checkText(allSettingsBut("bEnable") + "bEnable = 0\r", DataFile::Settings).empty());
}

// Something other than a file where a data file belongs reads as missing in the plug-in;
// the checker names what it is and never opens it (a FIFO would wait for ever), nor a
// file far too large to be a data file.
TEST(DataCheck, WhatIsNoDataFileIsNamedAsAnError)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path() + "/folder.dat");
    FifoGuard fifo(dir.path() + "/fifo.dat");
    ASSERT_TRUE(fifo.created());
    // Sparse: the size costs no disk, and the checker must not read it all.
    dir.write("huge.dat", "");
    std::filesystem::resize_file(dir.path() + "/huge.dat", uint64_t{3} << 30);
    struct Case {
        const char* name;
        const char* says;
    } cases[] = {
        {"folder.dat", "is a directory, not a file: the plug-in reads it as missing, and without it every element"},
        {"fifo.dat", "not a regular file (a pipe, socket or device): the plug-in reads it as missing"},
        {"huge.dat", "3221225472 bytes (3072 MB): no data file is that large (the shipped ones are a few KB), so it "
                     "was not read"},
    };
    for (const Case& c : cases) {
        const std::vector<Finding> f = check::checkDataFile(dir.path() + "/" + c.name, DataFile::Layout);
        ASSERT_EQ(f.size(), 1u) << c.name;
        EXPECT_EQ(f[0].severity, Severity::Error);
        EXPECT_TRUE(findingAt(f, 0, c.says)) << f[0].message;
    }
    EXPECT_FALSE(fifo.readerWaited());
}

// Bytes from the file reach the terminal escaped and cut, and a file of junk gives a few
// findings and a count of the rest.
TEST(DataCheck, MessagesAreOneShortLineAndStopAfterFiftyPerFile)
{
    std::string text = "bEn\rable = 1\n"            // 1: unknown key with a CR in it
                       "bEnable = o\rn\tx\n"       // 2: a CR and a tab in the value
                       + std::string(10 << 20, 'k') + " 1\n" // 3: a 10 MB key
                       "iRadarAlpha = " + std::string(1000, '7') + "x\n"; // 4: a long value
    for (int i = 0; i < 1000; ++i)
        text += "junk" + std::to_string(i) + "\n";
    const std::vector<Finding> f = checkText(text, DataFile::Settings);
    ASSERT_EQ(f.size(), 51u);
    for (const Finding& finding : f) {
        EXPECT_LT(finding.message.size(), 300u) << finding.message.substr(0, 300);
        EXPECT_EQ(finding.message.find_first_of("\r\n\t"), std::string::npos) << finding.message;
    }
    EXPECT_TRUE(findingAt(f, 1, "unknown key bEn\\rable"));
    EXPECT_TRUE(findingAt(f, 2, "bEnable = o\\rn\\tx reads as 1"));
    EXPECT_TRUE(findingAt(f, 3, "unknown key kkkkk"));
    EXPECT_TRUE(findingAt(f, 3, "k...: the plug-in never reads it"));
    EXPECT_TRUE(findingAt(f, 4, "7... is not a whole number"));
    // 1004 errors and 11 settings missing: the first 50 are shown.
    const Finding& note = f.back();
    EXPECT_EQ(note.severity, Severity::Note);
    EXPECT_EQ(note.hiddenErrors, 954u);
    EXPECT_EQ(note.hiddenWarnings, 11u);
    EXPECT_EQ(check::formatFinding(note), note.file + ": note: 965 more in this file (954 errors, 11 warnings) not "
                                                      "shown: fix the ones above and check again");
    // Within the limit nothing is left out.
    std::string fifty;
    for (int i = 0; i < 50; ++i)
        fifty += "junk" + std::to_string(i) + "\n";
    EXPECT_EQ(checkText(allSettingsBut("") + fifty, DataFile::Settings).size(), 50u);
}

// Each mistake a modder makes, with what the checker says about it (empty: nothing).
TEST(DataCheck, SaysWhatThePluginMakesOfEachSlip)
{
    struct Case {
        DataFile kind;
        const char* leftOut; // a settings key left out of the full list, "" for none
        const char* line;
        const char* says;
        Severity severity;
    } cases[] = {
        // Every setting outside what it takes.
        {DataFile::Settings, "iVesk", "iVesk = 3", "iVesk = 3 picks the base style (0 base, 1 mora, 2 sabel)", Severity::Warning},
        {DataFile::Settings, "iVesk", "iVesk = -1", "iVesk = -1 picks the base style", Severity::Warning},
        {DataFile::Settings, "iVesk", "iVesk = 2", "", Severity::Warning},
        {DataFile::Settings, "iRadarAlpha", "iRadarAlpha = 300", "300 is outside 0 to 255: the plug-in hands the game the number as it is", Severity::Error},
        {DataFile::Settings, "iRadarAlpha", "iRadarAlpha = -1", "-1 is outside 0 to 255", Severity::Error},
        {DataFile::Settings, "iGangOverlayAlpha", "iGangOverlayAlpha = 256", "only the lowest 8 bits count, so it acts as 0", Severity::Error},
        {DataFile::Settings, "iGangOverlayAlpha", "iGangOverlayAlpha = 255", "", Severity::Error},
        {DataFile::Settings, "bStatsBox", "bStatsBox = 1.0", "", Severity::Error},
        {DataFile::Settings, "bStatsBox", "bStatsBox = 1.5x", "reads as 1 (on)", Severity::Error},
        {DataFile::Settings, "bStatsBox", "bStatsBox = 0 // off", "reads as 1 (on): only 0, false, FALSE, no and NO read as off (comments start with ; or #", Severity::Error},
        // A "//" after everything a line needs: read as meant, so only a note.
        {DataFile::Settings, "iVesk", "iVesk = 0 // base", "iVesk = 0 // base reads as 0, as meant; the \"//\" text after it is ignored (comments start with ; or #)", Severity::Note},
        {DataFile::Settings, "iVesk", "iVesk = 0 1 // base", "reads as 0: the rest is ignored (one whole number, no decimals) (comments start with ; or #", Severity::Error},
        {DataFile::Settings, "bStatsBox", "bStatsBox = on // yes", "bStatsBox = on // yes reads as 1 (on), as meant", Severity::Note},
        {DataFile::Settings, "", "bEnabel = 1", "unknown key bEnabel: the plug-in never reads it (did you mean bEnable?)", Severity::Error},
        // As near as a slip can be: two letters short of a five-letter word.
        {DataFile::Settings, "", "bEnab = 1", "unknown key bEnab: the plug-in never reads it (did you mean bEnable?)", Severity::Error},
        {DataFile::Layout, "", "HUD_RADAR_MAPP 1 2 3 4", "(did you mean HUD_RADAR_MAP?)", Severity::Error},
        {DataFile::Layout, "", "HUD_AMMO: 101 88 0.7 1.4", "the colon is read as part of the key; write HUD_AMMO and its value", Severity::Error},
        {DataFile::Layout, "", "HUD_WIDGET 1 2 3 4", "unknown key HUD_WIDGET: the plug-in never reads it", Severity::Error},
        {DataFile::Layout, "", "HUD_STATS_BOX 40 320 301 325", "keep w at 300 or less", Severity::Warning},
        {DataFile::Layout, "", "HUD_STATS_BOX 40 320 300 325", "", Severity::Warning},
        {DataFile::Layout, "", "HUD_ZONE_NAME 40 84 50 -3", "a negative text scale is used as written", Severity::Warning},
        {DataFile::Layout, "", "HUD_ZONE_NAME 40 84 0.5 0.5", "", Severity::Warning},
        {DataFile::Layout, "", "HUD_CASH 101 186 10.5 1", "a text scale over 10 makes letters", Severity::Warning},
        {DataFile::Layout, "", "HUD_CASH 101 186 10 1", "", Severity::Warning},
        {DataFile::Layout, "", "HUD_RADAR_MAP 170 170 -100 100", "a negative width and height is used as written", Severity::Warning},
        {DataFile::Layout, "", "HUD_RADAR_MAP 170 170 100 -1", "a negative width and height", Severity::Warning},
        {DataFile::Layout, "", "HUD_RADAR_MAP 170 170 300 300", "", Severity::Warning},
        {DataFile::Layout, "", "HUD_RADAR_MAP 1 2 3 4 // map", "HUD_RADAR_MAP 1 2 3 4 // map: reads as 1 2 3 4, as meant", Severity::Note},
        {DataFile::Layout, "", "HUD_RADAR_MAP 1 2 3 // map", "comments start with ; or #) and reads 1 2 3 0", Severity::Error},
        {DataFile::Colours, "", "HUD_COLOUR_CASH 1 2 3 4 // green", "reads as 1 2 3 4, as meant", Severity::Note},
        {DataFile::Colours, "", "HUD_COLOR_CASH 1 2 3 4", "(did you mean HUD_COLOUR_CASH?)", Severity::Error},
        {DataFile::Colours, "", "HUD_COLOUR_CASH 1.5 0 0 255", "colours are whole numbers from 0 to 255, so it reads 1 255 255 255", Severity::Error},
        // A failed number read swallows what it read ("25-" the "-", "1e39" all of it): the
        // rest is still named, as the reader stops there.
        {DataFile::Settings, "iRadarAlpha", "iRadarAlpha = 25-", "iRadarAlpha = 25- reads as 25: the rest is ignored", Severity::Error},
        {DataFile::Settings, "iVesk", "iVesk = 1 99999999999", "iVesk = 1 99999999999 reads as 1: the rest is ignored", Severity::Error},
        {DataFile::Settings, "iRadarAlpha", "iRadarAlpha = 99999999999", "is not a whole number from -2147483648 to 2147483647", Severity::Error},
        {DataFile::Settings, "iRadarAlpha", "iRadarAlpha = 2x", "reads as 2: the rest is ignored", Severity::Error},
        {DataFile::Layout, "", "HUD_RADAR_MAP 10 20 300 300 1e39", "stops at \"1e39\" (not a number a float can hold) and reads 10 20 300 300", Severity::Error},
        {DataFile::Layout, "", "HUD_CASH 1 2e40 3 4", "stops at \"2e40 3 4\" (not a number", Severity::Error},
        {DataFile::Layout, "", "HUD_CASH 1 2 3 4-", "stops at \"-\" (numbers are separated by spaces", Severity::Error},
        {DataFile::Layout, "", "HUD_CASH 1 2 3 4 e5", "stops at \"e5\" (numbers are separated by spaces", Severity::Error},
        {DataFile::Colours, "", "HUD_COLOUR_BLACK 0 0 0 255 99999999999", "stops at \"99999999999\" (not a whole number from -2147483648 to 2147483647) and reads 0 0 0 255", Severity::Error},
        {DataFile::Colours, "", "HUD_COLOUR_BLACK 0 0 0 1+", "stops at \"+\" (numbers are separated by spaces", Severity::Error},
        // An anchor after the numbers is read; a word meant as one and not one is named.
        {DataFile::Layout, "", "HUD_RADAR_MAP 150 180 110 110 right-top", "", Severity::Error},
        {DataFile::Layout, "", "HUD_PLAYER_INFO_OFFSET_X_Y 0 0 Left-Center // block", "", Severity::Error},
        {DataFile::Layout, "", "HUD_RADAR_MAP 150 180 110 110 top-right", "\"top-right\" is not an anchor, so the element stays at its usual edges: write left, centre or right, a dash, then top", Severity::Error},
        {DataFile::Layout, "", "HUD_RADAR_MAP 150 180 110 110 right", "\"right\" is not an anchor", Severity::Error},
        {DataFile::Layout, "", "HUD_RADAR_MAP 150 180 110 right-top", "stops at \"right-top\"", Severity::Error},
        {DataFile::Layout, "", "HUD_RADAR_MAP 1 2 3 4 right-top map", "the words after \"right-top\" are ignored", Severity::Warning},
        {DataFile::Layout, "", "HUD_CROSSHAIR 0 0 16 16 centre-centre", "follows the aim, not the screen: an anchor does nothing", Severity::Warning},
        {DataFile::Layout, "", "HUD_STATS_BOX 40 320 280 325 right-top", "only the second half of the anchor counts", Severity::Warning},
        {DataFile::Layout, "", "HUD_STATS_BOX 40 320 280 325 left-top", "", Severity::Warning},
        {DataFile::Layout, "", "HUD_CELLPHONE_DAY 56 174 0.45 1.1 left-top", "only the first half of the anchor counts", Severity::Warning},
        {DataFile::Layout, "", "HUD_CELLPHONE 150 220 110 220 centre-bottom", "", Severity::Warning},
    };

    for (const Case& c : cases) {
        const std::string head = c.kind == DataFile::Settings ? allSettingsBut(c.leftOut) : "";
        const uint32_t line = static_cast<uint32_t>(std::count(head.begin(), head.end(), '\n') + 1);
        const std::vector<Finding> f = checkText(head + c.line + "\n", c.kind);
        if (!*c.says) {
            EXPECT_EQ(countAt(f, line), 0u) << c.line << ": " << (f.empty() ? "" : check::formatFinding(f[0]));
            continue;
        }
        const Finding* found = findingAt(f, line, c.says);
        EXPECT_TRUE(found && found->severity == c.severity)
            << c.line << "\n" << (countAt(f, line) ? check::formatFinding(*findingAt(f, line, "")) : "no finding");
    }
    // Without bEnable the whole plug-in is off: an error, where another missing key warns.
    const std::vector<Finding> noSwitch = checkText(allSettingsBut("bEnable"), DataFile::Settings);
    ASSERT_EQ(noSwitch.size(), 1u);
    EXPECT_EQ(noSwitch[0].severity, Severity::Error);
    EXPECT_EQ(noSwitch[0].message, "bEnable is missing: it reads as 0 (off), which switches the whole plug-in off; add bEnable = 1");
}

// The dictionaries the settings make the plug-in load, each by file and texture name.
TEST(DataCheck, EveryDictionaryTheSettingsLoadIsReadAndChecked)
{
    TempDir dir;
    const std::string textures = std::string(KELLHUD_ASSETS_DIR) + "/kell-hud/textures/";
    std::filesystem::create_directories(dir.path() + "/kell-hud");
    std::filesystem::copy(textures, dir.path() + "/kell-hud/textures", std::filesystem::copy_options::recursive);
    dir.write("kell-hud/settings.ini", allSettingsBut("iVesk").replace(0, 11, "bEnable = 1") + "iVesk = 1\n");
    dir.write("kell-hud/data/hud.dat", "");
    std::filesystem::remove(dir.path() + "/kell-hud/textures/radar.txd"); // the base style's: not loaded
    dir.write("kell-hud/textures/hud.txd", "cut short");
    txd::Dictionary weapons;
    std::string error;
    ASSERT_TRUE(txd::readFile(textures + "weapons.txd", weapons, error)) << error;
    for (txd::Texture& t : weapons.textures)
        if (t.name == "m4")
            t.name = "m4 - Copy";
    ASSERT_TRUE(txd::writeFile(dir.path() + "/kell-hud/textures/weapons.txd", weapons, error)) << error;

    std::vector<std::string> said;
    const std::vector<Finding> f = check::checkPluginFolder(dir.path());
    for (const Finding& finding : f)
        if (finding.file.find(".txd") != std::string::npos)
            said.push_back(check::formatFinding(finding).substr(dir.path().size()));
    const std::string t = "/kell-hud/textures/";
    EXPECT_EQ(said, (std::vector<std::string>{
                        t + "hud.txd: error: cannot be read as a texture dictionary (" +
                            "file ends before the texture dictionary chunk's header (at byte 0)): every texture of hud.txd "
                            "draws nothing; pack it again with kellhud-txd pack --for hud",
                        t + "weapons.txd: error: texture \"m4\" is missing: the plug-in draws it from weapons.txd and a "
                            "sprite without its texture draws nothing; add m4.png",
                        t + "weapons.txd: warning: texture \"m4 - Copy\" is never drawn: no name of weapons.txd is "
                            "looked up by that name, so it only takes memory (did you mean m4?)"}));
    EXPECT_EQ(check::missingTextures(f), dir.path() + t + "hud.txd: all (the file cannot be read); " + dir.path() + t +
                                             "weapons.txd: m4");
    // Switched off, the plug-in loads no dictionary at all.
    dir.write("kell-hud/settings.ini", allSettingsBut(""));
    for (const Finding& finding : check::checkPluginFolder(dir.path()))
        EXPECT_EQ(finding.file.find(".txd"), std::string::npos) << check::formatFinding(finding);
}

// --check --overlaps: the shipped layout gives none (its pairs that overlap do so by design);
// each edit below gives these warnings, each at the later of the pair's two lines (only the
// start of each is given here, up to the sizes that matter).
TEST(DataCheck, OverlappingElementsAreNamedByKeyAtEveryScreenSize)
{
    auto bytesOf = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    };
    const std::string shipped = bytesOf(std::string(KELLHUD_ASSETS_DIR) + "/kell-hud/data/hud.dat");
    // The layout shipped before the rows and the subtitles were moved apart.
    const std::string unanchored = bytesOf(std::string(KELLHUD_FIXTURES_DIR) + "/hud-unanchored.dat");
    const std::string at = " at 1280x720 (";
    const std::string move = ": one is drawn over the other; move one (kellhud-sim --outline shows the boxes)";
    struct Case {
        std::vector<std::pair<std::string, std::string>> edits; // each from, to
        std::vector<std::string> said; // the start of each finding after the folder's name
        const std::string* layout = nullptr; // the shipped one when none
        check::ScreenSize extra = {0, 0};
    };
    const Case cases[] = {
        {{}, {}},
        // The panel lowered onto the radar: the map, the ring and the breath bar.
        {{{"HUD_STATS_BOX                40     320", "HUD_STATS_BOX 40 200"}},
         {":130: warning: HUD_STATS_BOX overlaps HUD_RADAR_MAP (line 42)" + at + "134 x 47 pixels) and 1920x1080 (200 x "
          "70 pixels) and 2560x1440 (267 x 94 pixels) and 3440x1440 (267 x 94 pixels) and 5120x1440 (267 x 94 pixels) "
          "and 1080x1920 (200 x 70 pixels)" + move,
          ":130: warning: HUD_STATS_BOX overlaps HUD_RADAR_SPRITES (line 51)" + at + "173 x 67 pixels) and 1920x1080 (260 x 100 pixels)",
          ":130: warning: HUD_STATS_BOX overlaps HUD_BREATH_BAR (line 57)" + at + "6 x 41 pixels) and 1920x1080 (10 x 62 pixels)"}},
        // The earlier key moved: still named at the later line; the ring's own map is by design.
        {{{"HUD_RADAR_SPRITES            40     300", "HUD_RADAR_SPRITES 40 700"}},
         {":130: warning: HUD_STATS_BOX overlaps HUD_RADAR_SPRITES (line 51)" + at + "173 x 136 pixels) and 1920x1080 (260 x 205 pixels)"}},
        // Not at 5120x1440, where the strip is far from the corner.
        {{{"HUD_HELP_MESSAGE             48     170", "HUD_HELP_MESSAGE 600 100"}},
         {":122: warning: HUD_HELP_MESSAGE overlaps HUD_RADIO_HUD (line 116)" + at + "285 x 30 pixels) and 1920x1080 (428 x "
          "46 pixels) and 2560x1440 (570 x 61 pixels) and 3440x1440 (254 x 61 pixels) and 1080x1920 (406 x 46 pixels)" + move}},
        // A pair by design stays silent wherever it lies; the first line of a key counts.
        {{{"HUD_CASH                     101    186", "HUD_CASH 101 150"}}, {}},
        {{{"HUD_SECOND_BREATH_BAR        537    60     8      140", "HUD_SECOND_BREATH_BAR 537 60 8 140\n"
                                                                     "HUD_STATS_BOX 40 200 280 325"}}, {}},
        // The layout shipped before: the first player's icon, pushed down below the stars,
        // the cash and its counter, lies under the second player's counter; on a portrait
        // screen the subtitles lie on the second player's ring.
        {{},
         {":158: warning: HUD_SECOND_AMMO overlaps HUD_WEAPON_ICON (line 66)" + at + "42 x 18 pixels) and 1920x1080 (64 x 28 pixels)",
          ":165: warning: HUD_SECOND_RADAR_SPRITES overlaps HUD_SUBTITLES (line 136) at 1080x1920 (180 x 60 pixels)" + move,
          ":168: warning: HUD_SECOND_BREATH_BAR overlaps HUD_SUBTITLES (line 136) at 1080x1920 (12 x 52 pixels)" + move},
         &unanchored},
        // The radar anchored to the middle for a very wide screen: on a portrait one it is gone.
        {{{"HUD_RADAR_MAP                170    170    100    100", "HUD_RADAR_MAP -790 170 100 100 centre-bottom"},
          {"HUD_RADAR_SPRITES            40 ", "HUD_RADAR_SPRITES -920 "},
          {"HUD_BREATH_BAR               312", "HUD_BREATH_BAR -648"}},
         {":42: warning: HUD_RADAR_MAP is off the screen at 1080x1920 (all of it: 350 pixels past the left edge): what "
          "lies outside is not seen; move it in, or anchor it to the edge it should keep (kellhud-sim --outline --size "
          "WxH shows the box)",
          ":51: warning: HUD_RADAR_SPRITES is off the screen at 1080x1920 (all of it: 380 pixels past the left edge)",
          ":57: warning: HUD_BREATH_BAR is off the screen at 1080x1920 (all of it: 110 pixels past the left edge)",
          // ... and in the middle of a 21:9 screen it lies on the second ring, which stays at the left.
          ":168: warning: HUD_SECOND_RADAR_SPRITES overlaps HUD_RADAR_MAP (line 42) at 3440x1440 (166 x 200 pixels)" + move,
          ":168: warning: HUD_SECOND_RADAR_SPRITES overlaps HUD_RADAR_SPRITES (line 51) at 3440x1440 (206 x 239 pixels)",
          ":171: warning: HUD_SECOND_BREATH_BAR overlaps HUD_RADAR_MAP (line 42) at 3440x1440 (16 x 176 pixels)",
          ":171: warning: HUD_SECOND_BREATH_BAR overlaps HUD_RADAR_SPRITES (line 51) at 3440x1440 (16 x 192 pixels)"}},
        // The ring moved to the right without an anchor: subtitle lines wrap at the screen's
        // width less its x and w, too narrow or below nothing at all; on a portrait screen it
        // is gone, elsewhere it lies on the mission title and the subtitles.
        {{{"HUD_RADAR_SPRITES            40     300", "HUD_RADAR_SPRITES 1500 300"}},
         {":51: warning: HUD_RADAR_SPRITES is off the screen at 1080x1920 (all of it: 680 pixels past the right edge)",
          ":51: warning: HUD_RADAR_SPRITES leaves HUD_SUBTITLES (line 137) lines too narrow for a few words at 1280x720 "
          "(-480 pixels, 4 words need 112) and 1920x1080 (160 pixels, 4 words need 168) and 1080x1920 (-680 pixels, 4 "
          "words need 168): with the radar at the left, lines wrap at the screen width less this line's x and w, taken "
          "as plain pixels (0 or less: they do not wrap and run off the screen); make x + w smaller (40 + 260 leave the "
          "shipped width) or anchor the radar away from the left edge",
          ":91: warning: HUD_MISSION_TEXT overlaps HUD_RADAR_SPRITES (line 51)" + at + "32 x 24 pixels) and 1920x1080 (50 "
          "x 36 pixels) and 2560x1440 (65 x 48 pixels)" + move,
          ":137: warning: HUD_SUBTITLES overlaps HUD_RADAR_SPRITES (line 51) at 5120x1440 (66 x 80 pixels)" + move}},
        // A size of the modder's own is tried after the six, and one of the six only once.
        {{{"HUD_HELP_MESSAGE             48     170", "HUD_HELP_MESSAGE 600 100"}},
         {":122: warning: HUD_HELP_MESSAGE overlaps HUD_RADIO_HUD (line 116)" + at + "285 x 30 pixels) and 1920x1080 (428 x "
          "46 pixels) and 2560x1440 (570 x 61 pixels) and 3440x1440 (254 x 61 pixels) and 1080x1920 (406 x 46 pixels) "
          "and 1024x768 ("},
         nullptr,
         {1024, 768}},
        {{{"HUD_HELP_MESSAGE             48     170", "HUD_HELP_MESSAGE 600 100"}},
         {":122: warning: HUD_HELP_MESSAGE overlaps HUD_RADIO_HUD (line 116)" + at + "285 x 30 pixels) and 1920x1080 (428 x "
          "46 pixels) and 2560x1440 (570 x 61 pixels) and 3440x1440 (254 x 61 pixels) and 1080x1920 (406 x 46 pixels)" + move},
         nullptr,
         {1920, 1080}},
        // One pixel is an overlap; less is none.
        {{{"HUD_HELP_MESSAGE             48     170", "HUD_HELP_MESSAGE 48 149"}},
         {":122: warning: HUD_HELP_MESSAGE overlaps HUD_RADIO_HUD (line 116) at 1080x1920 (390 x 1 pixels)" + move}},
        // A name is left alone only beside the phone.
        {{{"HUD_MISSION_TEXT             40     240", "HUD_MISSION_TEXT 40 60"}},
         {":91: warning: HUD_MISSION_TEXT overlaps HUD_ZONE_NAME (line 84)" + at + "72 x 16 pixels) and 1920x1080 (108 x 24 pixels)",
          ":100: warning: HUD_CELLPHONE overlaps HUD_MISSION_TEXT (line 91)" + at + "73 x 24 pixels)"}},
        // Past the bottom and the top edges, in part and wholly.
        {{{"HUD_CELLPHONE                150    220    110    220", "HUD_CELLPHONE 150 220 110 300"},
          {"HUD_RADIO_HUD                15     30", "HUD_RADIO_HUD 15 -40"},
          {"HUD_STATS_BOX                40     320", "HUD_STATS_BOX 40 -400"}},
         {":100: warning: HUD_CELLPHONE is off the screen at 1280x720 (54 pixels past the bottom edge) and 1920x1080 (80 "
          "pixels past the bottom edge)",
          ":116: warning: HUD_RADIO_HUD is off the screen at 1280x720 (26 pixels past the top edge) and",
          ":130: warning: HUD_STATS_BOX is off the screen at 1280x720 (all of it: 266 pixels past the bottom edge) and"}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        std::string text = c.layout ? *c.layout : shipped;
        for (const auto& [from, to] : c.edits) {
            ASSERT_NE(text.find(from), std::string::npos) << from;
            text.replace(text.find(from), from.size(), to);
        }
        dir.write("kell-hud/data/hud.dat", text);
        const std::vector<Finding> found = check::checkOverlaps(dir.path(), c.extra);
        const std::string file = dir.path() + "/kell-hud/data/hud.dat";
        ASSERT_EQ(found.size(), c.said.size()) << (c.edits.empty() ? "" : c.edits[0].second);
        for (size_t i = 0; i < found.size(); ++i) {
            const std::string said = check::formatFinding(found[i]);
            EXPECT_EQ(said.rfind(file + c.said[i], 0), 0u) << said;
        }
    }

    // The radar anchored away from the left leaves the lines the shipped width, which only a
    // tiny screen makes too narrow; the message says so instead of blaming x and w.
    TempDir dir;
    std::string text = shipped;
    text.replace(text.find("HUD_RADAR_MAP                170    170    100    100"), 53,
                 "HUD_RADAR_MAP 170 170 100 100 right-bottom");
    dir.write("kell-hud/data/hud.dat", text);
    const std::vector<Finding> anchored = check::checkOverlaps(dir.path(), {320, 240});
    const auto squeezed = std::find_if(anchored.begin(), anchored.end(), [](const Finding& f) {
        return f.message.find("too narrow") != std::string::npos;
    });
    ASSERT_NE(squeezed, anchored.end());
    EXPECT_EQ(squeezed->line, 51u);
    EXPECT_NE(squeezed->message.find("at 320x240 (20 pixels, 4 words need 37): with the radar anchored away from the "
                                     "left, lines wrap at the screen width less 300 pixels; this screen is too narrow"),
              std::string::npos)
        << squeezed->message;
}

TEST(DataCheck, PluginFolderCoversEveryFileAndTheShippedOnesPass)
{
    const std::vector<Finding> shipped = check::checkPluginFolder(KELLHUD_ASSETS_DIR);
    for (const Finding& f : shipped)
        ADD_FAILURE() << check::formatFinding(f);

    TempDir dir;
    dir.write("kell-hud/data/mora/hudColor.dat", "HUD_COLOUR_RED 1 2 3\n");
    const std::vector<Finding> f = check::checkPluginFolder(dir.path());
    std::vector<std::string> missing;
    for (const Finding& finding : f)
        if (finding.line == 0 && finding.message.find("cannot be read") != std::string::npos)
            missing.push_back(finding.file.substr(dir.path().size()));
    EXPECT_EQ(missing, (std::vector<std::string>{"/kell-hud/settings.ini", "/kell-hud/data/hud.dat",
                                                 "/kell-hud/data/hudColor.dat",
                                                 "/kell-hud/data/sabel/hudColor.dat"}));
    const Finding* mora = findingAt(f, 1, "3 of 4");
    ASSERT_TRUE(mora);
    EXPECT_EQ(check::formatFinding(*mora).rfind(dir.path() + "/kell-hud/data/mora/hudColor.dat:1: error: ", 0), 0u);
    EXPECT_EQ(check::formatFinding(f[0]), dir.path() + "/kell-hud/settings.ini: error: cannot be read (missing?): "
                                                       "without it every setting is off, so the plug-in stays off");

    // Saved with an extension too, which Windows hides; and the plug-in's fonts on without
    // their data file (the game would open no font data at all).
    dir.write("kell-hud/settings.ini.txt", "bEnable = 1\n");
    EXPECT_NE(check::checkPluginFolder(dir.path())[0].message.find(
                  "(did you mean settings.ini.txt? Rename it to settings.ini: Windows hides the extension"),
              std::string::npos);
    std::filesystem::remove(dir.path() + "/kell-hud/settings.ini.txt");
    for (const bool fontData : {false, true}) {
        dir.write("kell-hud/settings.ini", allSettingsBut("bUseKellFonts").replace(0, 11, "bEnable = 1") +
                                               "bUseKellFonts = 1\n");
        if (fontData)
            dir.write("kell-hud/data/fonts.dat", "font data\n");
        const std::vector<Finding> fonts = check::checkPluginFolder(dir.path());
        const bool named = std::any_of(fonts.begin(), fonts.end(), [&](const Finding& finding) {
            return finding.file == dir.path() + "/kell-hud/data/fonts.dat" && finding.severity == Severity::Error &&
                   finding.message.find("with bUseKellFonts = 1 the game reads its font data from this file") !=
                       std::string::npos;
        });
        EXPECT_EQ(named, !fontData);
    }
}

} // namespace
