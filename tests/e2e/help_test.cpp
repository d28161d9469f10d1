// Every script and program a modder or contributor runs answers --help with what it does
// and how to call it, and does nothing else.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "sim_run.h"

namespace {

namespace fs = std::filesystem;

const fs::path sourceDir = fs::path(KELLHUD_ASSETS_DIR).parent_path();

TEST(Help, EveryScriptAndProgramSaysWhatItDoes)
{
    // Each command, and what its help must name: how to call it.
    std::vector<std::pair<std::string, std::string>> commands = {{KELLHUD_SIM_BINARY, "usage: kellhud-sim"},
                                                                 {KELLHUD_TXD_BINARY, "usage: kellhud-txd"},
                                                                 {KELLHUD_ART_BINARY, "usage: kellhud-art"}};
    for (const fs::directory_entry& entry : fs::directory_iterator(sourceDir / "scripts"))
        if (entry.path().extension() == ".sh" &&
            // Read by the other scripts, not run.
            entry.path().filename() != "qemu-user.sh" && entry.path().filename() != "settings-folders.sh")
            commands.push_back({"bash '" + entry.path().string() + "'", "scripts/" + entry.path().filename().string()});
    EXPECT_GE(commands.size(), 14u);
    TempDir dir;
    for (const auto& [command, names] : commands) {
        SCOPED_TRACE(command);
        const int status = std::system((command + " --help >'" + dir.path() + "/out' 2>'" + dir.path() + "/err'").c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        const std::string out = readWholeFile(dir.path() + "/out");
        EXPECT_NE(out.find(names), std::string::npos) << out;
        EXPECT_EQ(readWholeFile(dir.path() + "/err"), "");
    }
}

} // namespace
