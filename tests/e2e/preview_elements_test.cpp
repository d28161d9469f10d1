// The preview scenario's last frame shows every element a modder can place or colour: for
// each hud.dat key and each colour name, an edit of its numbers changes what the host is
// asked to draw in that frame. A key or colour that cannot show there is listed with why.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string_view>

#include "sim_run.h"

namespace {

namespace fs = std::filesystem;

const std::string scenarioFile = std::string(KELLHUD_ASSETS_DIR) + "/../docs/examples/preview.json";

const char palette[] = "game palette only: what the game still draws itself, not the simulated host";

// What cannot change the preview's last frame, and why.
const std::map<std::string, std::string> notInTheLastFrame = {
    {"HUD_CROSSHAIR_FPS", "the first-person crosshair replaces the aiming one: another camera mode"},
    {"HUD_SECOND_RADAR_MAP", "read, but the second player's radar has no map"},
    {"HUD_COLOUR_REDLIGHT", "reserved"},
    {"HUD_COLOUR_GREENLIGHT", "reserved"},
    {"HUD_COLOUR_BLUEDARK", "reserved"},
    {"HUD_COLOUR_ORANGEDARK", "reserved"},
    {"HUD_COLOUR_PURPLELIGHT", "reserved"},
    {"HUD_COLOUR_PURPLEDARK", "reserved"},
    {"HUD_COLOUR_YELLOWDARK", "reserved"},
    {"HUD_COLOUR_PINK", "reserved"},
    {"HUD_COLOUR_WANTED_RED", "reserved"},
    {"HUD_COLOUR_WANTED_BLUE", "reserved"},
    {"HUD_COLOUR_STATS_BOX_BARS", "reserved"},
    {"HUD_COLOUR_REDDARK", palette},     {"HUD_COLOUR_GREEN", palette},       {"HUD_COLOUR_GREENDARK", palette},
    {"HUD_COLOUR_ORANGE", palette},      {"HUD_COLOUR_ORANGELIGHT", palette}, {"HUD_COLOUR_GREY", palette},
    {"HUD_COLOUR_GREYDARK", palette},    {"HUD_COLOUR_BLUELIGHT", palette},   {"HUD_COLOUR_PURPLE", palette},
    {"HUD_COLOUR_YELLOW", palette},
    {"HUD_COLOUR_RED", "the red half of the wanted flash: the preview's frame shows the blue half"},
    {"HUD_COLOUR_DAMAGE", "only at 20 health or less or right after a hit, which hides the health colour"},
};

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The calls of the run's last frame, as the trace wrote them. The trace is in frame order,
// so they are its last lines: those that begin as the very last one does ({"frame":N,).
// Read as text, not parsed: each test reads some forty traces of 19,000 calls.
std::string lastFrame(const std::string& tracePath)
{
    const std::string text = readText(tracePath);
    std::vector<std::string_view> lines;
    for (size_t at = 0, end; at < text.size(); at = end + 1) {
        end = std::min(text.find('\n', at), text.size());
        lines.emplace_back(text.data() + at, end - at);
    }
    if (lines.empty())
        return "";
    const std::string_view last = lines.back();
    const std::string_view frame = last.substr(0, last.find(',') + 1);
    size_t first = lines.size();
    while (first > 0 && lines[first - 1].substr(0, frame.size()) == frame)
        --first;
    std::string out;
    for (size_t i = first; i < lines.size(); ++i)
        out.append(lines[i]).append("\n");
    return out;
}

// Every line of `file` that starts with `prefix`, with the key and its numbers; each edit
// changes one line's numbers and keeps the rest of the file.
struct Entry {
    std::string key, line;
};

std::vector<Entry> entriesOf(const std::string& text, const std::string& prefix)
{
    std::vector<Entry> found;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0)
            found.push_back({line.substr(0, line.find_first_of(" \t")), line});
    return found;
}

// Walks the entries of one data file: each edited alone, the last frame compared with the
// unedited run's.
void expectEachEditShows(const std::string& relative, const std::string& prefix,
                         std::string (*edit)(const std::string& key))
{
    TempDir dir;
    fs::copy(std::string(KELLHUD_ASSETS_DIR) + "/kell-hud", dir.path() + "/kell-hud", fs::copy_options::recursive);
    const std::string file = dir.path() + "/kell-hud/" + relative;
    const std::string original = readText(file);
    const std::string trace = dir.path() + "/trace.jsonl";
    const std::vector<std::string> args = {"--scenario", scenarioFile, "--trace-frames", "--trace", trace};
    SimRun plain = runSimWithoutTrace(dir, args);
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    const std::string unedited = lastFrame(trace);
    ASSERT_FALSE(unedited.empty());

    const std::vector<Entry> entries = entriesOf(original, prefix);
    ASSERT_GT(entries.size(), 20u) << file;
    for (const Entry& entry : entries) {
        std::string text = original;
        text.replace(text.find(entry.line), entry.line.size(), edit(entry.key));
        std::ofstream(file, std::ios::binary) << text;
        fs::remove(trace);
        SimRun edited = runSimWithoutTrace(dir, args);
        ASSERT_EQ(edited.exitCode, 0) << entry.key << ": " << edited.err;
        const bool shows = lastFrame(trace) != unedited;
        const auto listed = notInTheLastFrame.find(entry.key);
        if (listed == notInTheLastFrame.end())
            EXPECT_TRUE(shows) << entry.key << ": an edit changes nothing in the preview's last frame";
        else
            EXPECT_FALSE(shows) << entry.key << " is listed as not showing (" << listed->second
                                << ") but an edit shows: take it off the list";
    }
    std::ofstream(file, std::ios::binary) << original;
}

TEST(PreviewElements, EveryHudDatKeyMovesSomethingInTheLastFrame)
{
    expectEachEditShows("data/hud.dat", "HUD_",
                        [](const std::string& key) { return key + " 111 113 37 41"; });
}

TEST(PreviewElements, EveryColourNameColoursSomethingInTheLastFrame)
{
    expectEachEditShows("data/hudColor.dat", "HUD_COLOUR_",
                        [](const std::string& key) { return key + " 3 141 59 255"; });
}

} // namespace
