#pragma once

#include <string>
#include <string_view>
#include <vector>

// The documentation's word on a key, for Kell Hud Studio to show beside it: the guides
// (docs/layout-files.md, docs/settings.md) describe each key in table rows.

namespace studio {

// Every row, in document order, of the markdown tables whose first cell names `key` in
// backticks (a first cell may name several keys). Each row is one line: the other cells,
// each after its column's header ("x: centre of the map, from the left edge; y: ..."),
// without backticks and bold marks. Header rows and rows inside code blocks do not count.
std::vector<std::string> docRows(std::string_view markdown, std::string_view key);

} // namespace studio
