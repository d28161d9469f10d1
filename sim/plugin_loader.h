#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>

// Loads the plug-in's library the way the host's plug-in loader does (its static
// initialisation runs the plug-in's start-up) and unloads it at the end (static
// destruction runs). The one platform-specific part of loading.

namespace sim {

// The folder that holds this program (the current folder when it cannot be found).
std::string programFolder();
// The plug-in library built beside the simulated host.
std::string defaultPluginFile();

// Puts the plug-in where the host finds it for a run: beside DIR/kell-hud, as a player
// installs it, with settings.ini's iVesk set to `style` when one is given (the folder's own
// settings.ini is never changed). `load` is the library file to load.
bool placePlugin(const std::string& library, const std::string& dir, std::optional<int> style, std::string& load,
                 std::string& error);
// Takes away what placePlugin made for the run (after unloading).
void removePlacedPlugin();
// settings.ini's text with its iVesk line set to `style` (added when there is none).
std::string settingsWithStyle(std::istream& settings, int style);

bool loadPlugin(const std::string& path, std::string& error);

// Where the loaded library lies in the host's address space, and the address its own
// symbols count from (0 before a load).
struct PluginImage {
    uint32_t base, begin, end;
};
PluginImage pluginImage();
// The library file being loaded or last loaded (empty before any load).
const std::string& pluginLibraryPath();
// Whether the host sees which data files the plug-in opens: in the simulated build the
// seam opens them for it; the Windows DLL opens them itself.
bool pluginFileOpensSeen();
// Returns false when the library stayed in memory after unloading.
bool unloadPlugin();

} // namespace sim
