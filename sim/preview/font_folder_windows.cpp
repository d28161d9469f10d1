#include "preview/font_folder.h"

#include "plugin_loader.h"
#include "text/utf8_path.h"

namespace sim::preview {

std::string previewFontFolder() { return utf8Text(utf8Path(programFolder()) / "fonts") + "\\"; }

const char* previewFontHint()
{
    return " (the preview's fonts belong in the fonts folder beside kellhud-sim.exe, as the modders' tools zip "
           "holds them: unzip it again)";
}

} // namespace sim::preview
