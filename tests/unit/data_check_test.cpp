// The data checker: every line the plug-in's reader will read differently from what it
// says is named by file and line, and the shipped files pass clean.

#include "check/data_check.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "temp_dir.h"

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

TEST(DataCheck, SettingsMistakesAreNamedByLine)
{
    const std::string text = "; comment\n"                  // 1
                             "\n"                           // 2
                             "bEnable = off\r\n"            // 3: reads as on
                             "benable = 1\n"                // 4: wrong case
                             "bStatsBox =\n"                // 5: no value
                             "iRadarAlpha = abc\n"          // 6: no number
                             "iGangOverlayAlpha = 200abc\n" // 7: reads as 200
                             "iVesk = 5\n"                  // 8: base style
                             "bEnable = 1\n"                // 9: second one ignored
                             "bColour = 1\n"                // 10: unknown
                             "bCellphone = yes\n"           // 11: fine
                             "bRadioHud = NO\n"             // 12: fine
                             "bKellMarkers = \"0\"\n"       // 13: a quoted 0 is on
                             "bUseKellFonts = False\n";     // 14: only FALSE and false are off
    const std::vector<Finding> f = checkText(text, DataFile::Settings);

    ASSERT_TRUE(findingAt(f, 3, "reads as 1 (on)"));
    EXPECT_EQ(findingAt(f, 3, "reads as 1 (on)")->severity, Severity::Error);
    EXPECT_TRUE(findingAt(f, 4, "did you mean bEnable?"));
    EXPECT_TRUE(findingAt(f, 5, "bStatsBox has no value"));
    EXPECT_TRUE(findingAt(f, 6, "not a whole number: it reads as 0"));
    EXPECT_TRUE(findingAt(f, 7, "reads as 200"));
    ASSERT_TRUE(findingAt(f, 8, "base style"));
    EXPECT_EQ(findingAt(f, 8, "base style")->severity, Severity::Warning);
    ASSERT_TRUE(findingAt(f, 9, "on line 3"));
    EXPECT_EQ(findingAt(f, 9, "on line 3")->severity, Severity::Warning);
    ASSERT_TRUE(findingAt(f, 10, "unknown key bColour"));
    EXPECT_EQ(findingAt(f, 10, "unknown key")->message.find("did you mean"), std::string::npos);
    EXPECT_EQ(countAt(f, 11) + countAt(f, 12) + countAt(f, 1) + countAt(f, 2), 0u);
    EXPECT_TRUE(findingAt(f, 13, "reads as 1 (on)"));
    EXPECT_TRUE(findingAt(f, 14, "reads as 1 (on)"));
    // Keys never given, as warnings for the file as a whole.
    ASSERT_TRUE(findingAt(f, 0, "bEnableHotKey is missing: it reads as 0 (off)"));
    EXPECT_EQ(findingAt(f, 0, "bEnableHotKey")->severity, Severity::Warning);
    EXPECT_TRUE(findingAt(f, 0, "bKellVehicleCamera is missing"));
    EXPECT_FALSE(findingAt(f, 0, "bEnable is missing"));
    EXPECT_FALSE(findingAt(f, 0, "bCellphone is missing"));
}

TEST(DataCheck, WellWrittenSettingsPass)
{
    EXPECT_TRUE(checkText(allSettingsBut(""), DataFile::Settings).empty());
    const std::vector<Finding> f = checkText(allSettingsBut("iVesk") + "iVesk = 2 ; sabel\n\tiRadarAlpha\t255\n",
                                             DataFile::Settings);
    // iRadarAlpha was already given above: only that repetition is named.
    ASSERT_EQ(f.size(), 1u) << check::formatFinding(f[0]);
    EXPECT_TRUE(findingAt(f, 14, "iRadarAlpha is given again"));
}

TEST(DataCheck, LayoutNumbersAreCountedAsTheReaderTakesThem)
{
    const std::string text = "# layout\n"
                             "HUD_AMMO 1.5,2 3 4\n"            // 2: stops at the comma
                             "HUD_CASH = 1 2\n"                // 3: two of four
                             "HUD_RADAR_OFFSET_X_Y 1 2 3\n"    // 4: one too many
                             "HUD_RADAR_MAP 10 20 30.5 40\n"   // 5: fine
                             "HUD_PLAYER_INFO_OFFSET_X_Y -4 8\n" // 6: fine
                             "HUD_ZONE_NAME 0 0 1 1 ; right\n"; // 7: fine
    const std::vector<Finding> f = checkText(text, DataFile::Layout);
    ASSERT_TRUE(findingAt(f, 2, "stops at \",2 3 4\""));
    EXPECT_TRUE(findingAt(f, 2, "reads 1.5 0 0 0"));
    EXPECT_TRUE(findingAt(f, 3, "2 of 4 numbers; it reads as 1 2 0 0"));
    EXPECT_TRUE(findingAt(f, 4, "only the first 2 numbers count; it reads as 1 2"));
    EXPECT_EQ(countAt(f, 5) + countAt(f, 6) + countAt(f, 7), 0u);
    EXPECT_TRUE(findingAt(f, 0, "HUD_SECOND_BREATH_BAR is missing: it reads as 0"));
    EXPECT_FALSE(findingAt(f, 0, "HUD_ZONE_NAME is missing"));
}

TEST(DataCheck, ColourChannelsAreWholeBytes)
{
    const std::vector<Finding> f = checkText("HUD_COLOUR_RED 256 0 0 255\n"    // 1: wraps to 0
                                             "HUD_COLOUR_GREEN 0 255 0\n"      // 2: alpha left out
                                             "HUD_COLOUR_BLUE 0 0 255 255\n"   // 3: fine
                                             "HUD_COLOUR_GREY 128.5 0 0 1\n"   // 4: no decimals
                                             "HUD_COLOR_PINK 1 2 3 4\n",       // 5: unknown
                                             DataFile::Colours);
    EXPECT_TRUE(findingAt(f, 1, "256 is outside 0 to 255; it reads as 0"));
    EXPECT_TRUE(findingAt(f, 2, "3 of 4 numbers; it reads as 0 255 0 255"));
    EXPECT_EQ(countAt(f, 3), 0u);
    EXPECT_TRUE(findingAt(f, 4, "stops at \".5 0 0 1\""));
    EXPECT_TRUE(findingAt(f, 5, "unknown key HUD_COLOR_PINK"));
    EXPECT_TRUE(findingAt(f, 0, "HUD_COLOUR_PINK is missing: it reads as 255 255 255 255"));
}

TEST(DataCheck, FilesThatAreNotPlainTextGiveOneError)
{
    const std::string utf16le("\xFF\xFE" "b\0E\0n\0a\0b\0l\0e\0 \0=\0 \0" "1\0\n\0", 26);
    const std::string utf16be("\0b\0E\0n\0a\0b\0l\0e\0 \0=\0 \0" "1\0\n", 24);
    for (const std::string& bytes : {utf16le, utf16be}) {
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

    // A UTF-8 byte-order mark and accented comments are text.
    EXPECT_FALSE(findingAt(checkText("\xEF\xBB\xBFHUD_COLOUR_RED 1 2 3 4 ; rot \xC3\xA9\n", DataFile::Colours), 1, ""));
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
}

} // namespace
