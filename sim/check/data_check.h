#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The data checker (`kellhud-sim --check`): reads the plug-in's text files with the
// plug-in's own reader and key lists and says, by file and line, where the plug-in will
// read something other than what the modder wrote. The plug-in itself stays silent.

namespace check {

// A note stands for the findings of a file left out after the first few.
enum class Severity { Error, Warning, Note };

struct Finding {
    std::string file;
    uint32_t line = 0; // 0: the file as a whole
    Severity severity = Severity::Error;
    std::string message;
    uint32_t hiddenErrors = 0; // a note: how many of each it stands for
    uint32_t hiddenWarnings = 0;
    std::string texture; // a texture the plug-in needs that is missing; "*" for a whole dictionary
};

enum class DataFile { Settings, Layout, Colours };

// One file of the given kind, by its path on this machine.
std::vector<Finding> checkDataFile(const std::string& path, DataFile kind);

// Every data file the plug-in reads below a plug-in folder (the folder holding kell-hud/):
// the settings, the layout and the colour file of each style variant, and every texture
// dictionary those settings make the plug-in load. Given a style variant (a run's --style,
// which overrides iVesk), only that style's colour file and dictionaries.
// `everyStyle`: what a pack checks, since players pick their own style and may switch the
// plug-in on: the dictionaries of all three styles, whatever iVesk and bEnable say.
std::vector<Finding> checkPluginFolder(const std::string& dir, std::optional<int32_t> style = std::nullopt,
                                       bool everyStyle = false);

// Every file below DIR the plug-in (or the game, given the plug-in's files) can read with any
// settings and style, relative to DIR, with the machine's separators; each once.
std::vector<std::string> pluginFiles();

// The missing textures among the findings, by dictionary file and name, on one line
// ("kell-hud/textures/weapons.txd: m4, tec9"); "" when none is missing.
std::string missingTextures(const std::vector<Finding>& findings);

// "file:line: error: message", the form compilers use, so editors can jump to it.
std::string formatFinding(const Finding& finding);

} // namespace check
