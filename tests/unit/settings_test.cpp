#include "core/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "state/plugin.h"
#include "sim/system.h"
#include "temp_dir.h"

namespace {

// Every setting away from its default, so that an untouched field shows.
HudPlugin scribbled()
{
    HudPlugin hud;
    std::memset(&hud, 1, sizeof hud); // booleans true, integers 0x01010101
    return hud;
}

void expectDefaults(const HudSettings& s)
{
    EXPECT_FALSE(s.bEnable);
    EXPECT_EQ(s.iVesk, 0);
    EXPECT_FALSE(s.bStatsBox);
    EXPECT_FALSE(s.bCellphone);
    EXPECT_FALSE(s.bRadioHud);
    EXPECT_FALSE(s.bEnableBlendingMode);
    EXPECT_EQ(s.iRadarAlpha, 0);
    EXPECT_EQ(s.iGangOverlayAlpha, 0);
    EXPECT_FALSE(s.bUseKellFonts);
    EXPECT_FALSE(s.bKellOnFootCamera);
    EXPECT_FALSE(s.bKellVehicleCamera);
    EXPECT_FALSE(s.bKellMarkers);
    EXPECT_FALSE(s.bEnableHotKey);
}

} // namespace

TEST(Settings, ReadsEveryKey)
{
    TempDir dir;
    sim::system().pluginFile = dir.path() + "/KellHud.so";
    dir.write("kell-hud\\settings.ini",
              "[KellHud]\n"
              "bEnable = 1\n"
              "iVesk = 2\n"
              "bStatsBox = 1\n"
              "bCellphone = true\n"
              "bRadioHud = 1\n"
              "bEnableBlendingMode = 1\n"
              "iRadarAlpha = 200\n"
              "iGangOverlayAlpha = -5\n"
              "bUseKellFonts = 1\n"
              "bKellOnFootCamera = 1\n"
              "bKellVehicleCamera = 1\n"
              "bKellMarkers = 1\n"
              "bEnableHotKey = 1\n");
    HudPlugin hud{};
    hud.settings = readSettings();

    const HudSettings& s = hud.settings;
    EXPECT_TRUE(s.bEnable);
    EXPECT_EQ(s.iVesk, 2);
    EXPECT_TRUE(s.bStatsBox);
    EXPECT_TRUE(s.bCellphone);
    EXPECT_TRUE(s.bRadioHud);
    EXPECT_TRUE(s.bEnableBlendingMode);
    EXPECT_EQ(s.iRadarAlpha, 200);
    EXPECT_EQ(s.iGangOverlayAlpha, -5);
    EXPECT_TRUE(s.bUseKellFonts);
    EXPECT_TRUE(s.bKellOnFootCamera);
    EXPECT_TRUE(s.bKellVehicleCamera);
    EXPECT_TRUE(s.bKellMarkers);
    EXPECT_TRUE(s.bEnableHotKey);
}

// No file (the plug-in stays off), or values that do not convert: the defaults.
TEST(Settings, MissingFileOrValuesThatDoNotConvertGiveTheDefaults)
{
    for (bool written : {false, true}) {
        TempDir dir;
        sim::system().pluginFile = dir.path() + "/KellHud.so";
        if (written)
            dir.write("kell-hud\\settings.ini", "bEnable =\niVesk = abc\niRadarAlpha = 99999999999\n"
                                                "iGangOverlayAlpha\nbStatsBox = FALSE\nbCellphone = no\n");
        HudPlugin hud = scribbled();
        hud.settings = readSettings();
        expectDefaults(hud.settings);
    }
}

TEST(Settings, FirstLineAfterAByteOrderMarkCounts)
{
    TempDir dir;
    sim::system().pluginFile = dir.path() + "/KellHud.so";
    dir.write("kell-hud\\settings.ini", "\xEF\xBB\xBF"
                                        "bEnable = 1\r\n"
                                        "iRadarAlpha = 200abc\r\n");
    HudPlugin hud{};
    hud.settings = readSettings();
    EXPECT_TRUE(hud.settings.bEnable);
    EXPECT_EQ(hud.settings.iRadarAlpha, 200);
}

TEST(Settings, FileBeyondAnOverLongFolderIsNotRead)
{
    TempDir dir;
    // The library's name (255 characters) fits the name buffer; the folder (245 with its
    // separator) joined with the relative path does not.
    const std::string folder = dir.path() + "/" + std::string(243 - dir.path().size(), 'd');
    sim::system().pluginFile = folder + "/KellHud.so";
    dir.write(folder.substr(dir.path().size() + 1) + "/kell-hud/settings.ini", "bEnable = 1\n");

    HudPlugin hud = scribbled();
    hud.settings = readSettings();
    expectDefaults(hud.settings);
}

TEST(Settings, EachSwitchLandsInItsOwnField)
{
    struct Switch {
        const char* key;
        bool HudSettings::*field;
    };
    const Switch switches[] = {
        {"bEnable", &HudSettings::bEnable},
        {"bStatsBox", &HudSettings::bStatsBox},
        {"bCellphone", &HudSettings::bCellphone},
        {"bRadioHud", &HudSettings::bRadioHud},
        {"bEnableBlendingMode", &HudSettings::bEnableBlendingMode},
        {"bUseKellFonts", &HudSettings::bUseKellFonts},
        {"bKellOnFootCamera", &HudSettings::bKellOnFootCamera},
        {"bKellVehicleCamera", &HudSettings::bKellVehicleCamera},
        {"bKellMarkers", &HudSettings::bKellMarkers},
        {"bEnableHotKey", &HudSettings::bEnableHotKey},
    };
    TempDir dir;
    sim::system().pluginFile = dir.path() + "/KellHud.so";
    for (const Switch& on : switches) {
        dir.write("kell-hud\\settings.ini", std::string(on.key) + " = 1\niVesk = 1\niRadarAlpha = 7\n");
        HudPlugin hud{};
        hud.settings = readSettings();
        for (const Switch& s : switches)
            EXPECT_EQ(hud.settings.*s.field, &s == &on) << on.key << " set, " << s.key << " read";
        EXPECT_EQ(hud.settings.iVesk, 1);
        EXPECT_EQ(hud.settings.iRadarAlpha, 7);
        EXPECT_EQ(hud.settings.iGangOverlayAlpha, 0);
    }
}
