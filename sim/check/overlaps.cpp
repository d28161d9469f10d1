#include "check/overlaps.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "data/layout.h"
#include "data/placement.h"
#include "preview/outline.h"
#include "text/local_path_form.h"

namespace check {

// The screens players use: the smallest common one, the layout's own reference size, the
// larger 16:9 one, the two wide ones and a portrait one.
const std::vector<ScreenSize> overlapSizes = {{1280, 720},  {1920, 1080}, {2560, 1440},
                                              {3440, 1440}, {5120, 1440}, {1080, 1920}};

namespace {

// The line each key is first given on, as the reader takes the first of two.
std::map<std::string, uint32_t> keyLines(const std::string& text)
{
    std::map<std::string, uint32_t> lines;
    std::istringstream in(text);
    uint32_t number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        line = line.substr(0, line.find_first_of(";#="));
        std::istringstream words(line);
        std::string key;
        if (words >> key)
            lines.emplace(key, number);
    }
    return lines;
}

// The pairs that share their place by design, whatever their numbers.
const char* const designedOverlaps[][2] = {
    {"HUD_RADAR_MAP", "HUD_RADAR_SPRITES"},               // the ring is drawn round the map
    {"HUD_SECOND_RADAR_MAP", "HUD_SECOND_RADAR_SPRITES"}, // the same for the second player
    {"HUD_CELLPHONE", "HUD_CELLPHONE_CLOCK"},             // the clock is on the phone's screen
    {"HUD_CELLPHONE", "HUD_CELLPHONE_DAY"},               // and so is the day
    {"HUD_CASH", "HUD_AMMO"}, // the ammo counter moves down below the cash while the cash shows
};

bool designed(const std::string& a, const std::string& b)
{
    for (const auto& d : designedOverlaps)
        if ((a == d[0] && b == d[1]) || (a == d[1] && b == d[0]))
            return true;
    // The phone rises in the names' place: they are never shown while it is up.
    auto name = [](const std::string& key) { return key == "HUD_ZONE_NAME" || key == "HUD_VEHICLE_NAME"; };
    auto phone = [](const std::string& key) { return key.rfind("HUD_CELLPHONE", 0) == 0; };
    return (name(a) && phone(b)) || (phone(a) && name(b));
}

// The overlap's width and height in whole pixels; 0 when the boxes only touch or one is empty.
std::pair<int, int> shared(const sim::preview::OutlineBox& a, const sim::preview::OutlineBox& b)
{
    auto span = [](float a0, float a1, float b0, float b1) {
        const float from = std::max(std::min(a0, a1), std::min(b0, b1));
        const float to = std::min(std::max(a0, a1), std::max(b0, b1));
        return to > from ? to - from : 0.0f; // NaN compares false: no overlap
    };
    const float w = span(a.left, a.right, b.left, b.right), h = span(a.top, a.bottom, b.top, b.bottom);
    if (w < 1 || h < 1)
        return {0, 0};
    return {static_cast<int>(w), static_cast<int>(h)};
}

std::string sizeName(ScreenSize size) { return std::to_string(size.width) + "x" + std::to_string(size.height); }

// Whole pixels of a length, however far out (a box from absurd numbers must still say so).
int wholePixels(float length) { return static_cast<int>(std::min(length, 1e9f)); }

// How far a box reaches past each edge of the screen ("12 pixels past the right edge");
// empty when it stays on it. Less than a pixel is no pixel.
std::string outside(const sim::preview::OutlineBox& box, ScreenSize size)
{
    const float W = static_cast<float>(size.width), H = static_cast<float>(size.height);
    const float left = std::min(box.left, box.right), right = std::max(box.left, box.right);
    const float top = std::min(box.top, box.bottom), bottom = std::max(box.top, box.bottom);
    const std::pair<float, const char*> edges[] = {
        {-left, "left"}, {right - W, "right"}, {-top, "top"}, {bottom - H, "bottom"}};
    std::string said;
    for (const auto& [pixels, edge] : edges)
        if (pixels >= 1) // NaN compares false: not past
            said += (said.empty() ? "" : ", ") + std::to_string(wholePixels(pixels)) + " pixels past the " + edge + " edge";
    if (!said.empty() && (right <= 0 || left >= W || bottom <= 0 || top >= H))
        said = "all of it: " + said;
    return said;
}

// Subtitles need room for a few words on a line: four of five letters and a space, at their
// text scale's average character width (10 units at scale 1).
constexpr float subtitleWords = 4, wordChars = 6;

} // namespace

std::vector<Finding> checkOverlaps(const std::string& dir, ScreenSize extra)
{
    // The path as the data check shows it: in the way this machine writes paths.
    const std::string path = dir + localSeparator + localPathForm(layoutFile);
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf(); // a missing or unreadable file is named by the data check itself
    const std::map<std::string, uint32_t> lines = keyLines(text.str());
    const HudLayout layout = sim::preview::layoutOfFile(path);

    std::vector<ScreenSize> sizes = overlapSizes;
    if (extra.width > 0 && std::none_of(sizes.begin(), sizes.end(), [&](ScreenSize s) {
            return s.width == extra.width && s.height == extra.height;
        }))
        sizes.push_back(extra);

    struct Said {
        std::string first, second;      // the second empty: one key's own finding
        std::vector<std::string> where; // "1920x1080 (30 x 12 pixels)"
    };
    std::vector<Said> pairs, offScreen;
    std::vector<std::string> squeezed;
    auto note = [](std::vector<Said>& list, const std::string& a, const std::string& b, std::string where) {
        auto found = std::find_if(list.begin(), list.end(), [&](const Said& s) { return s.first == a && s.second == b; });
        if (found == list.end())
            found = list.insert(list.end(), {a, b, {}});
        found->where.push_back(std::move(where));
    };
    for (const ScreenSize& size : sizes) {
        const std::vector<sim::preview::OutlineBox> boxes =
            sim::preview::outlineBoxes(layout, size.width, size.height);
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (const std::string past = outside(boxes[i], size); !past.empty())
                note(offScreen, boxes[i].key, "", sizeName(size) + " (" + past + ")");
            for (size_t j = i + 1; j < boxes.size(); ++j) {
                const auto [w, h] = shared(boxes[i], boxes[j]);
                if (w && !designed(boxes[i].key, boxes[j].key))
                    note(pairs, boxes[i].key, boxes[j].key,
                         sizeName(size) + " (" + std::to_string(w) + " x " + std::to_string(h) + " pixels)");
            }
        }
        const ScreenScale unit{static_cast<float>(size.width), static_cast<float>(size.height),
                               static_cast<float>(std::min(size.width, size.height))};
        const float room = sim::preview::subtitleLineWidth(layout, unit);
        const float words = subtitleWords * wordChars * 10 * unit.scale(layout.records[HUD_SUBTITLES].w);
        if (room < words) // a width of 0 or less: no wrapping at all
            squeezed.push_back(sizeName(size) + " (" + std::to_string(wholePixels(room)) + " pixels, " +
                               std::to_string(static_cast<int>(subtitleWords)) + " words need " +
                               std::to_string(wholePixels(words)) + ")");
    }

    std::vector<Finding> findings;
    auto lineOf = [&](const std::string& key) {
        const auto found = lines.find(key);
        return found == lines.end() ? uint32_t{0} : found->second;
    };
    auto sizesOf = [](const Said& s) {
        std::string list;
        for (size_t i = 0; i < s.where.size(); ++i)
            list += (i ? " and " : "") + s.where[i];
        return list;
    };
    for (const Said& p : pairs) {
        // Named at the later of the two lines: the one more likely just edited.
        const uint32_t a = lineOf(p.first), b = lineOf(p.second);
        const std::string& other = a < b ? p.first : p.second;
        const uint32_t otherLine = std::min(a, b);
        findings.push_back(
            {path, std::max(a, b), Severity::Warning,
             (a < b ? p.second : p.first) + " overlaps " + other +
                 (otherLine ? " (line " + std::to_string(otherLine) + ")" : std::string(" (not given)")) + " at " +
                 sizesOf(p) + ": one is drawn over the other; move one (kellhud-sim --outline shows the boxes)",
             0, 0, {}});
    }
    for (const Said& o : offScreen)
        findings.push_back({path, lineOf(o.first), Severity::Warning,
                            o.first + " is off the screen at " + sizesOf(o) +
                                ": what lies outside is not seen; move it in, or anchor it to the edge it should "
                                "keep (kellhud-sim --outline --size WxH shows the box)",
                            0, 0, {}});
    if (!squeezed.empty()) {
        const std::string subtitles = lineOf("HUD_SUBTITLES") ? " (line " + std::to_string(lineOf("HUD_SUBTITLES")) + ")"
                                                              : std::string(" (not given)");
        std::string message = "HUD_RADAR_SPRITES leaves HUD_SUBTITLES" + subtitles +
                              " lines too narrow for a few words at ";
        for (size_t i = 0; i < squeezed.size(); ++i)
            message += (i ? " and " : "") + squeezed[i];
        message += radarAtLeft(layout)
                       ? ": with the radar at the left, lines wrap at the screen width less this line's x and w, taken "
                         "as plain pixels (0 or less: they do not wrap and run off the screen); make x + w smaller "
                         "(40 + 260 leave the shipped width) or anchor the radar away from the left edge"
                       : ": with the radar anchored away from the left, lines wrap at the screen width less 300 pixels; "
                         "this screen is too narrow for that";
        findings.push_back({path, lineOf("HUD_RADAR_SPRITES"), Severity::Warning, message, 0, 0, {}});
    }
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& x, const Finding& y) { return x.line < y.line; });
    return findings;
}

} // namespace check
