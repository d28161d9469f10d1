#pragma once

#include <string>

// Checks of the command line made before a run, so that a mistake is named at once
// instead of after the frames (or as a silent summary). Each returns false with a message
// a person can act on.

namespace sim {

// A file the run will write (--trace, --patches, --png): its folder exists and a file can
// be made or written there. Leaves no file behind that was not there before.
bool checkOutputPath(const std::string& option, const std::string& path, std::string& message);

enum class PluginDirState {
    Ready,       // holds kell-hud/settings.ini
    NoSettings,  // a folder, but without kell-hud/settings.ini: the plug-in will stay off
    Wrong,       // not a folder, or the kell-hud folder itself: no run makes sense
};

// The folder given to --plugin-dir: what was expected and what was found.
PluginDirState checkPluginDir(const std::string& dir, std::string& message);

// The library given to --plugin: a Windows DLL cannot be loaded here.
bool checkPluginLibrary(const std::string& file, std::string& message);

} // namespace sim
