#include "preview/font_folder.h"

namespace sim::preview {

std::string previewFontFolder() { return "/usr/share/fonts/truetype/dejavu/"; }

const char* previewFontHint() { return " (the preview's text needs the package fonts-dejavu-core)"; }

} // namespace sim::preview
