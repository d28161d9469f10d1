#pragma once

#include <cstdint>
#include <map>
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

// One call of VirtualProtect, in the order the plug-in made them.
struct ProtectionChange {
    uint32_t address;
    uint32_t size;
    uint32_t protect;
    bool operator==(const ProtectionChange&) const = default;
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
    // Keys whose toggle state is on: it flips each time a key goes down, as on Windows.
    std::set<int> keysToggled;
    std::vector<std::string> loadedModules;
    std::vector<MessageBoxShown> messageBoxes;
    std::vector<ProtectionChange> protectionChanges;
    // Host addresses VirtualProtect will not make writable, as Windows refuses to for code
    // another program guards: a change to execute-read-write over a span holding one fails.
    std::set<uint32_t> protectionRefused;
    // The data files the plug-in opened (settings, colours, layout), in order, as paths of
    // this machine. A file that does not exist is listed too: the plug-in tried it.
    std::vector<std::string> dataFilesOpened;
    // Files the plug-in reads from another place than it asks for (kellhud-sim --style
    // gives it an edited settings.ini this way): the path it asks for -> the path read.
    std::map<std::string, std::string> filesReplaced;

    // The keys held from now on; a key that was up and is now down flips its toggle state.
    void holdKeys(const std::set<int>& down);
};

SystemState& system();

// Tells the platform's keyboard which keys are held (on Windows the plug-in asks the real
// GetKeyState; in the simulated build the seam answers from SystemState itself).
void keyboardChanged(const SystemState& state);

} // namespace sim
