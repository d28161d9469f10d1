#pragma once

#include <ostream>
#include <string>

// `kellhud-sim --pack DIR [OUT]`: the release archive a player unzips into the game folder,
// made from a modder's folder after the data check. The same code packs on Linux and on
// Windows, and scripts/package.sh calls it, so every release of a folder has the same bytes.

namespace pack {

struct PackOptions {
    std::string dir;         // the folder that holds kell-hud/
    std::string outDir;      // where KellHud-<version>.zip goes; empty: `dir`
    std::string pluginDll;   // KellHud.asi; empty: the one beside this program
    bool includeExtra = false; // also the files below kell-hud/ the plug-in never reads
};

// Prints the archive's path on `out`; findings, files left out and failures on `err`.
// Returns the exit status: 0 packed, 1 refused or failed (nothing written or changed).
int packRelease(const PackOptions& options, std::ostream& out, std::ostream& err);

} // namespace pack
