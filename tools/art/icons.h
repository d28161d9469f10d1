#pragma once

#include <map>
#include <string>
#include <vector>

// Which pictogram each texture shows, and where the pictograms come from: the Game Icons
// set (its iconify JSON file, fetched at build time) or an SVG file of our own.

namespace art {

// One line of the icon map: texture `texture` of dictionary `dictionary` shows `source`,
// a Game Icons name, or "own:NAME" for the file NAME.svg in our own icon folder, turned
// left for right when `mirrored` (so that every weapon faces the same way).
struct IconChoice {
    std::string dictionary;
    std::string texture;
    std::string source;
    bool mirrored = false;
};

// Reads the icon map: one choice per line as three words and an optional fourth,
// "mirrored"; '#' starts a comment. A line of another shape or a texture named twice
// fails with the line number in `error`.
bool parseIconMap(const std::string& text, std::vector<IconChoice>& out, std::string& error);

// The icons of an iconify JSON file: name -> SVG body, in 512 x 512 user units like the
// pinned Game Icons set (and like our own icons).
struct IconSet {
    std::map<std::string, std::string> bodies;
};
bool parseIconSet(const std::string& json, IconSet& out, std::string& error);

// The SVG body of a choice's source, read from the set or from ownDir/NAME.svg.
bool iconBody(const std::string& source, const IconSet& set, const std::string& ownDir, std::string& body,
              std::string& error);

// A pictogram body (512 x 512 user units) turned left for right.
std::string mirrored(const std::string& body);

bool readText(const std::string& path, std::string& out);

} // namespace art
