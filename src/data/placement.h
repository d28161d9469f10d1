#pragma once

#include "data/layout.h"
#include "data/screen_unit.h"

// How far an anchor moves an element from where its own edges put it, in pixels of this
// frame's screen. An element adds the shift to every position it draws at, so its shape and
// its parts' distances stay as they were; without an anchor nothing is added at all, and
// a layout without anchor words draws exactly as it always did.
struct Shift {
    float x = 0, y = 0;
    bool moved = false;
    float atX(float v) const { return moved ? v + x : v; }
    float atY(float v) const { return moved ? v + y : v; }
};

namespace placement {

enum class Added : uint8_t { None, RadarOffset, PlayerOffset, PlayerOffsetX };
enum class Group : uint8_t { Own, Radar, SecondRadar, PlayerBlock, Phone };
enum class Moves : uint8_t { Both, XOnly, YOnly, Neither };

struct Placement {
    Edge x, y;
    Added added;
    Group group;
    Moves moves;
};

#define KELLHUD_PLACEMENT_ENTRY(name, x, y, added, group, moves) \
    {Edge::x, Edge::y, Added::added, Group::group, Moves::moves},
inline constexpr Placement placements[LAYOUT_RECORD_COUNT] = {KELLHUD_LAYOUT_RECORDS(KELLHUD_PLACEMENT_ENTRY)};
#undef KELLHUD_PLACEMENT_ENTRY

// The point an anchor measures: the record's x and y with the offset pair its element adds.
inline Vec2 pointOf(const HudLayout& layout, LayoutRecord record)
{
    const LayoutBox& box = layout.records[record];
    switch (placements[record].added) {
    case Added::RadarOffset: return {box.x + layout.radarOffset.x, box.y + layout.radarOffset.y};
    case Added::PlayerOffset: return {box.x + layout.playerInfoOffset.x, box.y + layout.playerInfoOffset.y};
    case Added::PlayerOffsetX: return {box.x + layout.playerInfoOffset.x, box.y};
    default: return {box.x, box.y};
    }
}

// The shift that puts `point`, measured from its own edges, where the anchor measures it.
inline Shift shiftFor(Anchor anchor, Vec2 point, Edge ownX, Edge ownY, Moves moves, const ScreenScale& unit)
{
    if (!anchored(anchor) || moves == Moves::Neither)
        return {};
    Shift shift;
    shift.moved = true;
    if (moves != Moves::YOnly) {
        const float x = unit.pixels(point.x);
        shift.x = measuredFrom(anchor.x, unit.width, x) - measuredFrom(ownX, unit.width, x);
    }
    if (moves != Moves::XOnly) {
        const float y = unit.pixels(point.y);
        shift.y = measuredFrom(anchor.y, unit.height, y) - measuredFrom(ownY, unit.height, y);
    }
    return shift;
}

inline Shift recordShift(const HudLayout& layout, LayoutRecord record, Anchor anchor, Moves moves,
                         const ScreenScale& unit)
{
    const Placement& own = placements[record];
    return shiftFor(anchor, pointOf(layout, record), own.x, own.y, moves, unit);
}

} // namespace placement

// The player block's shift: its offset pair is its leader, measured from the right and top.
inline Shift playerBlockShift(const HudLayout& layout, const ScreenScale& unit)
{
    return placement::shiftFor(layout.playerInfoOffsetAnchor, layout.playerInfoOffset, Edge::End, Edge::Start,
                               placement::Moves::Both, unit);
}

// The anchor that moves the radar: its map's, else the radar offset's.
inline Anchor radarAnchor(const HudLayout& layout)
{
    return anchored(layout.anchors[HUD_RADAR_MAP]) ? layout.anchors[HUD_RADAR_MAP] : layout.radarOffsetAnchor;
}

// Where an element is moved this frame: by its own anchor, else with its group's leader.
inline Shift shiftOf(const HudLayout& layout, LayoutRecord record, const ScreenScale& unit)
{
    using namespace placement;
    const Placement& own = placements[record];
    if (anchored(layout.anchors[record]))
        return recordShift(layout, record, layout.anchors[record], own.moves, unit);
    switch (own.group) {
    case Group::Radar: return recordShift(layout, HUD_RADAR_MAP, radarAnchor(layout), own.moves, unit);
    case Group::SecondRadar:
        return recordShift(layout, HUD_SECOND_RADAR_SPRITES, layout.anchors[HUD_SECOND_RADAR_SPRITES], own.moves, unit);
    case Group::Phone: return recordShift(layout, HUD_CELLPHONE, layout.anchors[HUD_CELLPHONE], own.moves, unit);
    case Group::PlayerBlock: return playerBlockShift(layout, unit);
    default: return {};
    }
}

// Subtitles wrap where the radar's ring ends while the radar is at the left; anchored
// anywhere else, they keep the width the ring leaves at its shipped place (its x and w, 40
// and 260), so moving the radar cannot squeeze them.
constexpr float shippedRadarSpan = 300;

inline bool radarAtLeft(const HudLayout& layout)
{
    const Anchor ring = anchored(layout.anchors[HUD_RADAR_SPRITES]) ? layout.anchors[HUD_RADAR_SPRITES]
                                                                     : radarAnchor(layout);
    return !anchored(ring) || ring.x == Edge::Start;
}
