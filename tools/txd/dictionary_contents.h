#pragma once

#include <string>
#include <vector>

#include "txd.h"

// What each of the plug-in's dictionaries must hold, taken from the plug-in's own sprite
// tables and the names the host looks up in the files the plug-in substitutes for its own,
// so that the packing tool, the data checker and the plug-in cannot disagree. A dictionary
// is named by its file without ".txd" ("weapons", "radar"; the style variants' radar and
// font files share their base file's name).

namespace txd {

// The known dictionary names, in the order the plug-in loads them (fonts last: the host
// loads those only when bUseKellFonts is on).
std::vector<std::string> knownDictionaries();

// The texture names the dictionary must hold; false for a name that is no dictionary of
// the plug-in.
bool neededTextures(const std::string& dictionary, std::vector<std::string>& names);

// The largest side worth packing: no element draws a picture larger than this on a
// 1080-line screen, so more only costs memory.
constexpr unsigned largestSide = 1024;

struct ContentFinding {
    bool error = false;  // a texture the plug-in needs is missing
    std::string texture; // the texture concerned
    std::string message; // what is wrong, why it matters and what to do
};

// Every needed name missing (an error), and warnings for a name never looked up, a side
// that is no power of two, and a side over largestSide. `dictionary` must be known.
std::vector<ContentFinding> checkContents(const Dictionary& dictionary, const std::string& name);

// The closest of `candidates` to `word` by edit distance (case folded), when it is close
// enough to be a likely slip; "" otherwise.
std::string closestName(const std::string& word, const std::vector<std::string>& candidates);

} // namespace txd
