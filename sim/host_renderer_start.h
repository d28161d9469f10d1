#pragma once

#include <cstdint>

// The host's renderer start: before the renderer-started event site the host loads its
// font dictionary, opens its font data file, loads its blip dictionary and fills its
// blip sprites from it; three of those are calls the plug-in may redirect.

namespace sim {

class ImageWriter;
struct Scenario;

void writeRendererStartPath(ImageWriter& image);

// Host data the start path keeps: its two dictionary slots, the font data handle and the
// font sprites (one per font sheet).
constexpr uint32_t hostFontSlot = 0xCFE090;       // i32
constexpr uint32_t hostBlipSlot = 0xCFE094;       // i32
constexpr uint32_t hostFontDataHandle = 0xCFE098; // i32
constexpr uint32_t hostFontSprites = 0xCFE0A0;    // Sprite[font_texture_count]

// Where the loads begin; they run into the renderer-started event site, which ends them.
uint32_t rendererStartLoads();

// The scenario's renderer starts (the whole start path) and shutdowns of a frame, in order.
void reachRendererEvents(const Scenario& scenario, int frame);

} // namespace sim
