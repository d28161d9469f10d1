#pragma once

#include <cstdint>

#include "host/host.h"

// The host's own routines that reach the HUD and radar sites every frame, as machine code:
// the radar and HUD stages of the frame, the zone-name and vehicle-name routines, and the
// parts of the radar's map and blip drawing that make the gang-overlay and arrow colours.

namespace sim {

class ImageWriter;

void writeHostRoutines(ImageWriter& image);

// Where the simulated host lays its stage routines (its own choice, clear of every site).
constexpr uint32_t radarStage = 0x53E250;
constexpr uint32_t hudStage = 0x53E260;
constexpr uint32_t mapScreenStage = 0x53E270;

// The radar stage: the host calls its radar routine.
void reachRadarStage();
// The full-screen map's own drawing: the host draws its blips (the blip layer, ECX = 0),
// with or without the radar frame.
void reachMapScreenStage();
// The HUD stage: the host calls its HUD routine and its extra HUD drawing, then the
// zone-name and vehicle-name routines of the names it shows.
void reachHudStage(bool zoneNameShown, bool vehicleNameShown);
// Inside the host's map and blip drawing: the gang-overlay and arrow colours. The map
// layer's machine code calls the first at its entry.
constexpr uint32_t gangOverlayColourEntry = host::site_gang_overlay_colour - 13;
void reachGangOverlayColour();
void reachArrowColour();

// The values the host's own code passes at the sites.
constexpr float zoneNameX = 1888.0f, zoneNameY = 1000.0f;
constexpr float vehicleNameX = 1888.0f, vehicleNameY = 940.0f;
constexpr uint8_t gangOverlayRgba[4] = {30, 160, 60, 130};
constexpr uint8_t arrowRgba[4] = {200, 200, 200, 255};

} // namespace sim
