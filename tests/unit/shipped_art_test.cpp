// The dictionaries and the font data file the build ships, read back with our own reader:
// every name the plug-in and the host look up is there, in a form the host takes, and the
// pictures hold together (gauge frames in order, variants and logos distinct, font widths
// that cover what the sheets draw).

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "art/font_sheet.h"
#include "host/chosen_addresses.h"
#include "textures/sprite_tables.h"
#include "txd/txd.h"

namespace {

const std::string textures = std::string(KELLHUD_ASSETS_DIR) + "/kell-hud/textures/";

// Each shipped dictionary, read once for the whole test program.
const txd::Dictionary& shipped(const std::string& file)
{
    static std::map<std::string, txd::Dictionary> cache;
    auto found = cache.find(file);
    if (found != cache.end())
        return found->second;
    txd::Dictionary& d = cache[file];
    std::string error;
    EXPECT_TRUE(txd::readFile(textures + file, d, error)) << file << ": " << error;
    return d;
}

const txd::Texture* find(const txd::Dictionary& d, const std::string& name)
{
    for (const txd::Texture& t : d.textures)
        if (txd::sameName(t.name, name))
            return &t;
    return nullptr;
}

bool powerOfTwo(unsigned v)
{
    return v && (v & (v - 1)) == 0;
}

std::vector<std::string> tableNames(SpriteTableId id)
{
    return {spriteTables[id].names, spriteTables[id].names + spriteTables[id].count};
}

uint8_t alphaAt(const txd::Texture& t, int x, int y)
{
    return t.levels[0][(static_cast<std::size_t>(y) * t.width + x) * 4 + 3];
}

int coverage(const txd::Texture& t)
{
    int n = 0;
    for (int y = 0; y < t.height; ++y)
        for (int x = 0; x < t.width; ++x)
            n += alphaAt(t, x, y) > 128;
    return n;
}

TEST(ShippedArt, EveryLookedUpNameIsInItsDictionaryInAFormTheHostTakes)
{
    std::vector<std::string> blips = tableNames(BLIP_LEVEL_SPRITES);
    for (const char* name : host::chosen::radar_sprite_names)
        if (name)
            blips.push_back(name);
    std::vector<std::string> fonts(host::chosen::font_texture_names,
                                   host::chosen::font_texture_names + host::chosen::font_texture_count);
    const std::vector<std::pair<std::string, std::vector<std::string>>> expected = {
        {"hud.txd", tableNames(HUD_SPRITES)},
        {"radar.txd", tableNames(RADAR_RING_SPRITES)},
        {"mora/radar.txd", tableNames(RADAR_RING_SPRITES)},
        {"sabel/radar.txd", tableNames(RADAR_RING_SPRITES)},
        {"blips.txd", blips},
        {"weapons.txd", tableNames(WEAPON_SPRITES)},
        {"radio_hud.txd", tableNames(RADIO_SPRITES)},
        {"progress_bars.txd", tableNames(PROGRESS_BAR_SPRITES)},
        {"fonts.txd", fonts},
        {"mora/fonts.txd", fonts},
        {"sabel/fonts.txd", fonts},
    };
    int checked = 0;
    for (const auto& [file, names] : expected) {
        const txd::Dictionary& d = shipped(file);
        EXPECT_EQ(d.textures.size(), names.size()) << file << " holds pictures nobody looks up";
        for (const std::string& name : names) {
            const txd::Texture* t = find(d, name);
            if (!t) {
                ADD_FAILURE() << name << " is missing from " << file;
                continue;
            }
            EXPECT_TRUE(powerOfTwo(t->width) && powerOfTwo(t->height)) << file << " " << name << " is " << t->width
                                                                       << "x" << t->height;
            EXPECT_TRUE(t->hasAlpha) << file << " " << name;
            // The whole mip chain, down to 1x1, so that a shrunk picture stays smooth.
            EXPECT_EQ(txd::levelWidth(t->width, static_cast<unsigned>(t->levels.size() - 1)) *
                          txd::levelHeight(t->height, static_cast<unsigned>(t->levels.size() - 1)),
                      1)
                << file << " " << name;
            EXPECT_GT(coverage(*t), 0) << file << " " << name << " is empty";
            ++checked;
        }
    }
    EXPECT_EQ(checked, 7 + 3 * 4 + 3 + 10 + 43 + 13 + 20 + 3 * 2);
}

TEST(ShippedArt, GaugeFramesFillFromEmptyToFullAndBothHalvesAlike)
{
    const txd::Dictionary& d = shipped("progress_bars.txd");
    std::vector<std::string> names = tableNames(PROGRESS_BAR_SPRITES);
    int previous = 1 << 30;
    for (const std::string& name : names) { // "00" full, then less and less to "190"
        const txd::Texture* t = find(d, name);
        ASSERT_NE(t, nullptr) << name;
        int now = coverage(*t);
        EXPECT_LT(now, previous) << name << " does not show less than the frame before it";
        previous = now;
        // Health draws the left half, armour the right: the two must be mirror images.
        int differing = 0;
        for (int y = 0; y < t->height; ++y)
            for (int x = 0; x < t->width / 2; ++x)
                differing += std::abs(alphaAt(*t, x, y) - alphaAt(*t, t->width - 1 - x, y)) > 24;
        EXPECT_LT(differing, t->width / 4) << name << " is not symmetric";
    }
    // The fill starts at the bottom: "190" (almost empty) shows at the bottom centre only.
    const txd::Texture* last = find(d, "190");
    ASSERT_NE(last, nullptr);
    int cx = last->width / 2;
    EXPECT_GT(alphaAt(*last, cx, last->height * 15 / 16 - 1), 200);
    EXPECT_LT(alphaAt(*last, cx, last->height / 16), 128);
}

std::string pixels(const txd::Texture& t)
{
    return std::string(t.levels[0].begin(), t.levels[0].end());
}

TEST(ShippedArt, VariantsLogosAndIconsAreEachTheirOwnPicture)
{
    std::set<std::string> rings;
    for (const char* file : {"radar.txd", "mora/radar.txd", "sabel/radar.txd"}) {
        const txd::Texture* front = find(shipped(file), "radarringfront");
        ASSERT_NE(front, nullptr) << file;
        rings.insert(pixels(*front));
    }
    EXPECT_EQ(rings.size(), 3u) << "two style variants share the same front ring";

    for (const char* file : {"radio_hud.txd", "weapons.txd", "blips.txd"}) {
        std::set<std::string> seen;
        for (const txd::Texture& t : shipped(file).textures)
            EXPECT_TRUE(seen.insert(pixels(t)).second) << t.name << " of " << file << " looks like another";
    }
}

std::vector<std::vector<int>> fontWidths(std::vector<std::string>& names)
{
    std::ifstream in(std::string(KELLHUD_ASSETS_DIR) + "/kell-hud/data/fonts.dat");
    std::vector<std::vector<int>> out;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string name;
        words >> name;
        names.push_back(name);
        out.emplace_back();
        for (int w; words >> w;)
            out.back().push_back(w);
    }
    return out;
}

TEST(ShippedArt, FontWidthsCoverEveryGlyphOfEverySheet)
{
    std::vector<std::string> names;
    std::vector<std::vector<int>> widths = fontWidths(names);
    ASSERT_EQ(names.size(), host::chosen::font_texture_count);
    for (std::size_t s = 0; s < names.size(); ++s) {
        EXPECT_EQ(names[s], host::chosen::font_texture_names[s]);
        ASSERT_EQ(widths[s].size(), static_cast<std::size_t>(art::fontCharCount)) << names[s];
        for (const char* file : {"fonts.txd", "mora/fonts.txd", "sabel/fonts.txd"}) {
            const txd::Texture* sheet = find(shipped(file), names[s]);
            ASSERT_NE(sheet, nullptr) << file;
            ASSERT_EQ(sheet->width, art::fontSheetWidth);
            for (int c = 0; c < art::fontCharCount; ++c) {
                int w = widths[s][c];
                EXPECT_TRUE(w > 0 && w <= art::fontCell) << names[s] << " char " << c + art::fontFirstChar;
                int left = (c % art::fontColumns) * art::fontCell, top = (c / art::fontColumns) * art::fontCell;
                int ink = 0;
                for (int y = top; y < top + art::fontCell; ++y)
                    for (int x = left + w; x < left + art::fontCell; ++x)
                        ink += alphaAt(*sheet, x, y) > 0;
                EXPECT_EQ(ink, 0) << file << " " << names[s] << ": '" << static_cast<char>(c + art::fontFirstChar)
                                  << "' draws past its width " << w;
            }
            // Letters have ink; the space has none.
            EXPECT_EQ(widths[s][0], art::fontSpaceWidth);
            EXPECT_GT(widths[s]['W' - art::fontFirstChar], widths[s]['i' - art::fontFirstChar]);
        }
    }
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(ShippedArt, EveryBorrowedIconIsNamedInTheAttribution)
{
    const std::string root = std::string(KELLHUD_ASSETS_DIR) + "/..";
    std::string attribution = slurp(root + "/LICENSES/game-icons.txt");
    ASSERT_NE(attribution.find("CC BY 3.0"), std::string::npos);
    std::istringstream map(slurp(root + "/assets/art/icons.txt"));
    int borrowed = 0;
    for (std::string line; std::getline(map, line);) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string dictionary, texture, icon;
        if (!(words >> dictionary >> texture >> icon) || icon.rfind("own:", 0) == 0)
            continue;
        ++borrowed;
        // Listed as a line of its own: dictionary, texture and icon name in columns.
        bool listed = false;
        std::istringstream lines(attribution);
        for (std::string entry; std::getline(lines, entry) && !listed;) {
            std::istringstream columns(entry);
            std::string d, t, i, more;
            listed = (columns >> d >> t >> i) && !(columns >> more) && d == dictionary && t == texture && i == icon;
        }
        EXPECT_TRUE(listed) << texture << " (" << icon << ") is not in LICENSES/game-icons.txt";
    }
    EXPECT_GT(borrowed, 40);
}

} // namespace
