#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Kell Hud Studio writes a modder's changes back into settings.ini, hud.dat and
// hudColor.dat without disturbing anything else in them: the files are hand-written, with
// comments and aligned columns, and a save must not turn into a reformat.

namespace studio {

enum class FileKind { Settings, Layout, Colours };

// The new value fields of one key, as text, in order: the tokens after the key (and after
// '=' if any), before any comment. hud.dat: {"20","240","150","150"} or with an anchor
// {"20","240","150","150","right-top"}; settings.ini: {"1"}; hudColor.dat: {"255","0","0","255"}.
struct ValueChange {
    std::string key;
    std::vector<std::string> values;
};

// `text` with each change applied, in order, to the line the plug-in reads for its key (the
// first one). Only the value tokens change; the key, separators, comment, other lines, BOM
// and line ends keep their bytes, and aligned columns and a comment's column are kept where
// the spacing allows. Unchanged values give `text` back byte for byte. A key the file lacks
// gets a new line at the end, in the file's style and line end. A change the reader would
// take apart differently (blanks, comment characters, '=' or control characters in a key or
// value, an empty key, no values) refuses the whole call: std::nullopt, with `error` naming
// the key.
std::optional<std::string> applyChanges(std::string_view text, FileKind kind, const std::vector<ValueChange>& changes,
                                        std::string& error);

} // namespace studio
