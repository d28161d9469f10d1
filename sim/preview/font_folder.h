#pragma once

#include <string>

// Where the preview's DejaVu fonts are: the system's fonts on Linux; on Windows the fonts
// folder beside the program, as the modders' tools zip holds it (no path of the machine
// the tools were built on).

namespace sim::preview {

// The folder, ending in its separator.
std::string previewFontFolder();

// What to do when a font is not there, to append to the message.
const char* previewFontHint();

} // namespace sim::preview
