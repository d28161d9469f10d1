#include "check/overlaps.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "data/layout.h"
#include "preview/outline.h"
#include "text/local_path_form.h"

namespace check {

namespace {

struct ScreenSize {
    int width, height;
};

// The screens most players use: the layout's own reference size and the smallest common one.
constexpr ScreenSize sizes[] = {{1920, 1080}, {1280, 720}};

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

} // namespace


std::vector<Finding> checkOverlaps(const std::string& dir)
{
    // The path as the data check shows it: in the way this machine writes paths.
    const std::string path = dir + localSeparator + localPathForm(layoutFile);
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf(); // a missing or unreadable file is named by the data check itself
    const std::map<std::string, uint32_t> lines = keyLines(text.str());

    struct Pair {
        std::string first, second;
        std::vector<std::string> where; // "1920x1080 (30 x 12 pixels)"
    };
    std::vector<Pair> pairs;
    for (const ScreenSize& size : sizes) {
        const std::vector<sim::preview::OutlineBox> boxes =
            sim::preview::outlineBoxes(text.str(), size.width, size.height);
        for (size_t i = 0; i < boxes.size(); ++i)
            for (size_t j = i + 1; j < boxes.size(); ++j) {
                const auto [w, h] = shared(boxes[i], boxes[j]);
                if (!w || designed(boxes[i].key, boxes[j].key))
                    continue;
                auto found = std::find_if(pairs.begin(), pairs.end(), [&](const Pair& p) {
                    return p.first == boxes[i].key && p.second == boxes[j].key;
                });
                if (found == pairs.end())
                    found = pairs.insert(pairs.end(), {boxes[i].key, boxes[j].key, {}});
                found->where.push_back(std::to_string(size.width) + "x" + std::to_string(size.height) + " (" +
                                       std::to_string(w) + " x " + std::to_string(h) + " pixels)");
            }
    }

    std::vector<Finding> findings;
    auto lineOf = [&](const std::string& key) {
        const auto found = lines.find(key);
        return found == lines.end() ? uint32_t{0} : found->second;
    };
    for (const Pair& p : pairs) {
        // Named at the later of the two lines: the one more likely just edited.
        const uint32_t a = lineOf(p.first), b = lineOf(p.second);
        const std::string& other = a < b ? p.first : p.second;
        const uint32_t otherLine = std::min(a, b);
        std::string message = (a < b ? p.second : p.first) + " overlaps " + other +
                              (otherLine ? " (line " + std::to_string(otherLine) + ")" : std::string(" (not given)")) +
                              " at ";
        for (size_t i = 0; i < p.where.size(); ++i)
            message += (i ? " and " : "") + p.where[i];
        message += ": one is drawn over the other; move one (kellhud-sim --outline shows the boxes)";
        findings.push_back({path, std::max(a, b), Severity::Warning, message, 0, 0, {}});
    }
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& x, const Finding& y) { return x.line < y.line; });
    return findings;
}

} // namespace check
