#pragma once

#include <string>
#include <string_view>

namespace studio {

// Puts `bytes` in the place of the file at `path` (UTF-8) whole or not at all: they are
// written beside it first and renamed over it only when every write and the close
// succeeded. On failure the old file is as it was, no part-written file stays, and `error`
// names the file and the cause ("the disk is full", ...).
bool replaceFile(const std::string& path, std::string_view bytes, std::string& error);

} // namespace studio
