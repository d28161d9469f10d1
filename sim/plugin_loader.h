#pragma once

#include <cstdint>
#include <string>

// Loads the plug-in's library the way the host's plug-in loader does (its static
// initialisation runs the plug-in's start-up) and unloads it at the end (static
// destruction runs). The one platform-specific part of loading.

namespace sim {

// The folder that holds this program (the current folder when it cannot be found).
std::string programFolder();
// The plug-in library built beside the simulated host.
std::string defaultPluginFile();

bool loadPlugin(const std::string& path, std::string& error);

// Where the loaded library lies in the host's address space, and the address its own
// symbols count from (0 before a load).
struct PluginImage {
    uint32_t base, begin, end;
};
PluginImage pluginImage();
// The library file being loaded or last loaded (empty before any load).
const std::string& pluginLibraryPath();
// Returns false when the library stayed in memory after unloading.
bool unloadPlugin();

} // namespace sim
