#pragma once

#include <set>
#include <string>
#include <vector>

// What the simulated Windows knows: the plug-in's file, the keys held, the modules loaded,
// and the message boxes shown. The Win32 seam answers the plug-in from here.

namespace sim {

struct MessageBoxShown {
    std::string text;
    std::string caption;
    unsigned type;
    bool hadOwner;
};

struct SystemState {
    // Where the plug-in's library appears to lie, as the host would see it after install
    // (a path in this machine's form; the seam presents it with backslashes).
    std::string pluginFile;
    // The host executable, named by a null module handle.
    std::string hostFile;
    // Make the look-up of the plug-in's own module fail.
    bool moduleLookupFails = false;
    std::set<int> keysDown;
    std::vector<std::string> loadedModules;
    std::vector<MessageBoxShown> messageBoxes;
};

SystemState& system();

} // namespace sim
