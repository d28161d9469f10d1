#pragma once

#include <string>
#include <vector>

// The plug-in's pictures as SVG documents, each at the pixel size of its texture. One
// look throughout: white shapes with a dark outline where they lie over the game, so the
// host's tint colours them and they read on any background.

namespace art {

// The radar's style variants, in iVesk order: 0 base, 1 mora, 2 sabel.
constexpr int variantCount = 3;
const char* variantFolder(int variant); // "", "mora", "sabel"

// One of the twenty ring-gauge frames by the number in its name ("00" .. "190"): the
// frame shows (200 - number) / 200 of a ring that rises from the bottom up both sides,
// so each half of the texture is one gauge.
std::string progressFrame(int number);

// "radarringfront", "radarringback", "radarringmask" or "radarringplane" of a variant;
// empty for any other name.
std::string radarRing(const std::string& name, int variant);

// A weapon icon from a pictogram body in 512 x 512 user units.
std::string weaponIcon(const std::string& body);

// A blip of the radar: the level markers, the north, the centre arrow and the target
// are drawn here; every other blip is the pictogram `body` on a dark disc. Empty when a
// pictogram is needed and `body` is empty.
std::string blip(const std::string& name, const std::string& body);

// A radio station's badge: two colours for its gradient, its label and its pictogram.
struct Station {
    std::string texture;
    std::string top, bottom; // "#rrggbb"
    std::string label;       // '_' stands for a space
};
// One station per line: TEXTURE #TOP #BOTTOM LABEL; '#' after whitespace or at the start
// of a line starts a comment.
bool parseStations(const std::string& text, std::vector<Station>& out, std::string& error);
std::string radioLogo(const Station& station, const std::string& body);

} // namespace art
