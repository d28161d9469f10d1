#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "world_state.h"

// Host state over a run, frame by frame, read from a JSON file (see docs/scenario.md).

namespace sim {

struct FrameSpan {
    int from = 1;
    int to = 1; // inclusive
    bool holds(int frame) const { return frame >= from && frame <= to; }
};

struct KeyHold {
    int key = 0;
    FrameSpan frames;
};

// A start or a shutdown of the host's renderer, before the own calls of its frame.
struct RendererEvent {
    int frame = 1;
    bool start = true; // false: a shutdown
};

struct HostBytes {
    uint32_t address;
    std::vector<uint8_t> bytes;
};

struct Scenario {
    int width = 1920;
    int height = 1080;
    int frames = 1;
    uint32_t startMs = 0;
    uint32_t stepMs = 33;
    std::map<int, uint32_t> steps; // frame -> clock advance before it, instead of stepMs
    std::vector<KeyHold> keys;
    std::vector<FrameSpan> mapScreen;
    std::vector<std::string> modules;
    // Render states the host has set before the run, by number (others read as 0).
    std::map<int32_t, uint32_t> renderStates;
    // The host's text table: what a key looks up to.
    std::map<std::string, std::string> texts;
    // The renderer's starts and shutdowns, in frame order: by default one start before
    // frame 1. The host's shutdown after the last frame comes whatever they are.
    std::vector<RendererEvent> renderer{RendererEvent{}};
    // Host code bytes that differ from the build the plug-in was made for (another build of
    // the game, or another mod's patch), written before the plug-in loads.
    std::vector<HostBytes> hostBytes;
    // Host addresses whose code VirtualProtect will not make writable (the Linux seam only).
    std::vector<uint32_t> protectionRefused;
    uint32_t heapFailsAt = 0; // the plug-in's allocation by new that throws; 0: none
    // Each entry of the world list: its frame and the world from that frame on.
    std::vector<std::pair<int, WorldState>> world;

    // The world in a frame (the defaults before the first entry). Runs step through the
    // frames with a ScenarioCursor instead.
    const WorldState& worldAt(int frame) const;
};

// Throws std::runtime_error with a message a person can act on.
Scenario loadScenario(const std::string& path);
Scenario parseScenario(const std::string& json);

} // namespace sim
