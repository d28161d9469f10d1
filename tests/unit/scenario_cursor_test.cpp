// Stepping through a scenario frame by frame gives what the scenario says of each frame,
// by a plain reading of the file's rules, whether frames come one by one, in jumps or again.

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

#include "scenario.h"
#include "scenario_cursor.h"

namespace {

// The rules read plainly, a frame at a time from the start.
uint32_t clockAt(const sim::Scenario& s, int frame)
{
    uint32_t t = s.startMs;
    for (int f = 2; f <= frame; ++f)
        t += s.steps.count(f) ? s.steps.at(f) : s.stepMs;
    return t;
}

std::set<int> keysAt(const sim::Scenario& s, int frame)
{
    std::set<int> down;
    for (const sim::KeyHold& hold : s.keys)
        if (hold.frames.holds(frame))
            down.insert(hold.key);
    return down;
}

bool mapAt(const sim::Scenario& s, int frame)
{
    for (const sim::FrameSpan& span : s.mapScreen)
        if (span.holds(frame))
            return true;
    return false;
}

const sim::Scenario busy = sim::parseScenario(R"({
    "frames": 40,
    "clock": { "start_ms": 4294967000, "step_ms": 33 },
    "steps": [ { "frame": 1, "ms": 5000 }, { "frame": 3, "ms": 0 }, { "frame": 4, "ms": 1001 },
               { "frame": 30, "ms": 4294967295 } ],
    "keys": [ { "key": 84, "from": 3, "to": 6 }, { "key": 84, "from": 5, "to": 9 },
              { "key": 122, "from": 6 }, { "key": 9, "from": 8, "to": 7 },
              { "key": 84, "from": 10, "to": 12 }, { "key": 65, "from": 20, "to": 2147483647 } ],
    "map_screen": [ { "from": 25, "to": 26 }, { "from": 2, "to": 4 }, { "from": 4, "to": 5 }, { "from": 9, "to": 8 }, { "from": 15 },
                    { "from": 35, "to": 2147483647 } ],
    "world": [ { "frame": 2, "block": [1, 0, 0] }, { "frame": 5, "block": [2, 0, 0] },
               { "frame": 5, "block": [3, 0, 0] }, { "frame": 7, "pad": { "cash": 1 } } ]
})");

void expectFrame(const sim::ScenarioCursor& c, int frame)
{
    SCOPED_TRACE("frame " + std::to_string(frame));
    EXPECT_EQ(c.frame, frame);
    EXPECT_EQ(c.timeMs, clockAt(busy, frame));
    EXPECT_EQ(c.keysDown, keysAt(busy, frame));
    EXPECT_EQ(c.mapScreen, mapAt(busy, frame));
    EXPECT_EQ(c.world, &busy.worldAt(frame));
}

TEST(ScenarioCursor, FrameByFrameEachFrameIsAsTheScenarioSays)
{
    sim::ScenarioCursor c;
    sim::startCursor(c, busy);
    for (int frame = 1; frame <= busy.frames; ++frame) {
        std::set<int> keysBefore = c.keysDown;
        const sim::WorldState* worldBefore = c.world;
        sim::moveCursor(c, frame);
        expectFrame(c, frame);
        // A change is reported exactly when there is one, so the host writes no more than it must.
        EXPECT_EQ(c.keysChanged, c.keysDown != keysBefore) << "frame " << frame;
        EXPECT_EQ(c.worldChanged, c.world != worldBefore) << "frame " << frame;
    }
}

TEST(ScenarioCursor, JumpsTheSameFrameAgainAndGoingBackGiveTheSameFrames)
{
    sim::ScenarioCursor c;
    sim::startCursor(c, busy);
    for (int frame : {1, 1, 6, 6, 31, 8, 2, 40, 12, 13}) {
        sim::moveCursor(c, frame);
        expectFrame(c, frame);
    }

    sim::moveCursor(c, 13);
    EXPECT_FALSE(c.keysChanged); // the same frame again changes nothing
    EXPECT_FALSE(c.worldChanged);
}

TEST(ScenarioCursor, ASpanToTheLastPossibleFrameHoldsThere)
{
    sim::ScenarioCursor c;
    sim::startCursor(c, busy);
    sim::moveCursor(c, INT_MAX);
    EXPECT_EQ(c.keysDown, (std::set<int>{65}));
    EXPECT_TRUE(c.mapScreen);
    EXPECT_EQ(c.timeMs, busy.startMs + 33u * (INT_MAX - 1u) + (1001u - 33u) + (0u - 33u) + (4294967295u - 33u));
}

TEST(ScenarioCursor, AScenarioWithNothingHoldsTheDefaults)
{
    sim::Scenario empty;
    sim::ScenarioCursor c;
    sim::startCursor(c, empty);
    sim::moveCursor(c, 1);
    EXPECT_EQ(c.timeMs, 0u);
    EXPECT_TRUE(c.keysDown.empty());
    EXPECT_FALSE(c.mapScreen || c.keysChanged || c.worldChanged);
    EXPECT_EQ(c.world, &empty.worldAt(1));
    sim::moveCursor(c, 1000000);
    EXPECT_EQ(c.timeMs, 33u * 999999u);
}

} // namespace
