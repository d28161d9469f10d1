// The copy of settings.ini a run with --style gives the plug-in: only the first iVesk line
// changes, everything else stays as the modder wrote it.

#include <gtest/gtest.h>

#include <sstream>

#include "plugin_loader.h"

namespace {

TEST(PluginPlacement, TheStyleIsSetOnTheFirstIVeskLineOnly)
{
    struct Case {
        const char* settings;
        int style;
        const char* copy;
    } cases[] = {
        {"bEnable = 1\niVesk = 0\nbStatsBox = 1\n", 2, "bEnable = 1\niVesk = 2\nbStatsBox = 1\n"},
        {"; style\n  iVesk=1 ; mora\n", 0, "; style\niVesk = 0\n"},
        {"iVesk\t= 1\niVesk = 2\n", 1, "iVesk = 1\niVesk = 2\n"},
        {"iVeskOld = 1\n\nbEnable = 1\n", 2, "iVeskOld = 1\n\nbEnable = 1\niVesk = 2\n"},
        {"", 1, "iVesk = 1\n"},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.settings);
        EXPECT_EQ(sim::settingsWithStyle(in, c.style), c.copy) << c.settings;
    }
}

} // namespace
