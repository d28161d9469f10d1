#pragma once

#include <cstdint>

#include "host/host.h"
#include "world_state.h"

// The host's code around the subtitle print, the mission-text call, the help-box call and
// its two calls of its text-box drawing, and the help box's state in host memory (see
// docs/scenario.md: `help`, `subtitle`, `mission_text`, `text_boxes`).

namespace sim {

class ImageWriter;

void writeHelpSites(ImageWriter& image);

// The help box, the texts and their guard bytes into host memory. The help box is written
// only in the frames where a scenario entry gives it, so that the plug-in's own advance
// of the host's state words lasts between entries.
void writeHelpWorld(const WorldState& world);

// In the HUD stage, in the host's order: the subtitle print and the mission-text call of
// the texts the host shows, its help box (while the scenario gives one), then its boxes.
void reachHelpTexts(const WorldState& world);

// Where the host's code before each site begins: its pushes of the call's arguments.
constexpr uint32_t subtitleEntry = host::site_subtitle_print - 15;
constexpr uint32_t missionTextEntry = host::site_mission_text - 15;
constexpr uint32_t textBoxEntryA = host::site_text_box_fill - 11;
constexpr uint32_t textBoxEntryB = host::site_text_print_box_fill - 11;

// What the host's own code passes to its print calls.
constexpr float subtitleX = 960.0f, subtitleY = 980.0f;
constexpr float missionTextX = 1800.0f, missionTextY = 900.0f;

} // namespace sim
