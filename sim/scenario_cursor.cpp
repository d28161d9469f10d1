#include "scenario_cursor.h"

#include <algorithm>

namespace sim {

namespace {

void addSpan(std::vector<ScenarioCursor::Edge>& edges, const FrameSpan& span, int key)
{
    if (span.to < span.from)
        return; // holds no frame
    edges.push_back({span.from, key, +1});
    edges.push_back({int64_t{span.to} + 1, key, -1});
}

// Frame order; in one frame the spans that begin come before the ones that end, so a key
// held by one span after another never seems to go up between them.
void sortEdges(std::vector<ScenarioCursor::Edge>& edges)
{
    std::stable_sort(edges.begin(), edges.end(), [](const auto& a, const auto& b) {
        return a.frame != b.frame ? a.frame < b.frame : a.delta > b.delta;
    });
}

// The clock advance before each frame in (from, to]: step_ms, except where a step is given.
uint32_t advanceClock(ScenarioCursor& c, int to)
{
    const auto& steps = c.scenario->steps;
    uint32_t t = c.timeMs + c.scenario->stepMs * static_cast<uint32_t>(to - c.frame);
    for (; c.nextStep != steps.end() && c.nextStep->first <= to; ++c.nextStep)
        t += c.nextStep->second - c.scenario->stepMs; // wraps as the host's clock does
    return t;
}

void passKeyEdges(ScenarioCursor& c, int to)
{
    for (; c.nextKeyEdge < c.keyEdges.size() && c.keyEdges[c.nextKeyEdge].frame <= to; ++c.nextKeyEdge) {
        const ScenarioCursor::Edge& e = c.keyEdges[c.nextKeyEdge];
        int& holds = c.keyHolds[e.key];
        holds += e.delta;
        bool down = holds > 0;
        if (down != (c.keysDown.count(e.key) != 0)) {
            c.keysChanged = true;
            if (down)
                c.keysDown.insert(e.key);
            else
                c.keysDown.erase(e.key);
        }
    }
}

void passMapEdges(ScenarioCursor& c, int to)
{
    for (; c.nextMapEdge < c.mapEdges.size() && c.mapEdges[c.nextMapEdge].frame <= to; ++c.nextMapEdge)
        c.mapSpans += c.mapEdges[c.nextMapEdge].delta;
    c.mapScreen = c.mapSpans > 0;
}

void passWorldEntries(ScenarioCursor& c, int to)
{
    const auto& world = c.scenario->world;
    size_t begun = c.worldEntries;
    while (begun < world.size() && world[begun].first <= to)
        ++begun;
    if (begun == c.worldEntries)
        return;
    c.worldEntries = begun;
    c.world = &world[begun - 1].second; // a later entry for the same frame wins
    c.worldChanged = true;
}

} // namespace

void startCursor(ScenarioCursor& c, const Scenario& scenario)
{
    c = ScenarioCursor{};
    c.scenario = &scenario;
    c.timeMs = scenario.startMs;
    c.world = &scenario.worldAt(0); // the defaults
    for (const KeyHold& hold : scenario.keys)
        addSpan(c.keyEdges, hold.frames, hold.key);
    for (const FrameSpan& span : scenario.mapScreen)
        addSpan(c.mapEdges, span, 0);
    sortEdges(c.keyEdges);
    sortEdges(c.mapEdges);
    // Frame 1 is at the start time; a step given for frame 1 or before advances nothing.
    c.nextStep = scenario.steps.upper_bound(1);
}

void moveCursor(ScenarioCursor& c, int frame)
{
    if (frame < c.frame)
        startCursor(c, *c.scenario);
    c.keysChanged = c.worldChanged = false;
    if (c.frame == 0)
        c.frame = 1; // the clock of frame 1 is the start time
    c.timeMs = advanceClock(c, frame);
    c.frame = frame;
    passKeyEdges(c, frame);
    passMapEdges(c, frame);
    passWorldEntries(c, frame);
}

} // namespace sim
