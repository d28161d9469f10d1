#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "scenario.h"

// The scenario's state at one frame, moved forward frame by frame. Each move costs the
// clock steps, key and map-screen span ends and world entries it passes, never the frames
// before it, so a run of a million frames costs the same per frame as a run of ten.

namespace sim {

struct ScenarioCursor {
    const Scenario* scenario = nullptr;
    int frame = 0; // 0: before frame 1 (nothing applied yet)
    uint32_t timeMs = 0;
    std::set<int> keysDown;
    bool mapScreen = false;
    const WorldState* world = nullptr;
    // What the last move changed.
    bool keysChanged = false;
    bool worldChanged = false;

    // Span ends in frame order: +1 where a span begins, -1 the frame after it ends.
    struct Edge {
        int64_t frame;
        int key; // unused for map-screen spans
        int delta;
    };
    std::vector<Edge> keyEdges, mapEdges;
    size_t nextKeyEdge = 0, nextMapEdge = 0;
    std::map<int, int> keyHolds; // key -> spans holding it
    int mapSpans = 0;
    std::map<int, uint32_t>::const_iterator nextStep;
    size_t worldEntries = 0; // world entries that have begun
};

// Points the cursor at a scenario, before its frame 1.
void startCursor(ScenarioCursor& cursor, const Scenario& scenario);
// Moves the cursor to a frame (1 or more). A frame before the cursor's starts it over.
void moveCursor(ScenarioCursor& cursor, int frame);

} // namespace sim
