#pragma once

#include <ostream>
#include <string>

// The modder's own folder: made once from the shipped files, then named to every command
// (preview, --check, packing), so that no edit lives inside a build output.

namespace sim {

// The shipped kell-hud/ folder the build puts beside the program.
std::string shippedFolder();

// The plug-in folder of a run given no --plugin-dir: the current folder when it holds
// kell-hud/. Returns false with a message that says what to pass instead.
bool currentPluginDir(std::string& dir, std::string& message);

// `--new-mod DIR`: copies the shipped folder to DIR/kell-hud and prints the commands that
// follow. Never touches an existing DIR/kell-hud, and leaves nothing half-made behind.
// Returns the exit status: 0 made, 2 refused or failed.
int makeModFolder(const std::string& dir, const std::string& shipped, std::ostream& out, std::ostream& err);

} // namespace sim
