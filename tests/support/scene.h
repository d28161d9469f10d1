#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim_run.h"

// A plug-in folder for one run, given by named options, and the run in it.

struct Scene {
    std::string settings = "bEnable = 1\n";
    std::optional<std::string> layout{};  // data/hud.dat (an empty text is an empty file)
    std::optional<std::string> colours{}; // data/hudColor.dat
    bool shippedTextures = false;       // textures/ linked to the shipped dictionaries, where built
    std::string scenario{};             // the scenario's JSON; none when empty
    std::vector<std::string> args{};    // more of kellhud-sim's options
};

// Whether the shipped dictionaries have been built (sprites carry texture names only then).
bool texturesBuilt();

// The folder alone, then the folder and the run.
void writeScene(const TempDir& dir, const Scene& scene);
SimRun runScene(const TempDir& dir, const Scene& scene);
