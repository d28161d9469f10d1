#include "data/layout.h"

#include <array>
#include <iterator>

#include "core/key_value_file.h"
#include "core/plugin_path.h"

#define KELLHUD_NAME_ENTRY(name, ...) #name,
const char* const layoutRecordKeys[] = {KELLHUD_LAYOUT_RECORDS(KELLHUD_NAME_ENTRY)};
#undef KELLHUD_NAME_ENTRY
static_assert(std::size(layoutRecordKeys) == LAYOUT_RECORD_COUNT, "one key per record");

const char* const layoutOffsetKeys[2] = {"HUD_RADAR_OFFSET_X_Y", "HUD_PLAYER_INFO_OFFSET_X_Y"};

namespace {

Vec2 readPair(const KeyValueFile& file, const char* key, Anchor& anchor)
{
    const KeyValueEntry& entry = file[key];
    const std::array<float, 2> pair = entry.asPair();
    anchor = anchorAfter(entry.value, 2);
    return Vec2{pair[0], pair[1]};
}

} // namespace

HudLayout layoutFrom(const KeyValueFile& file)
{
    HudLayout layout{};
    layout.radarOffset = readPair(file, layoutOffsetKeys[0], layout.radarOffsetAnchor);
    layout.playerInfoOffset = readPair(file, layoutOffsetKeys[1], layout.playerInfoOffsetAnchor);
    for (int i = 0; i < LAYOUT_RECORD_COUNT; ++i) {
        const KeyValueEntry& entry = file[layoutRecordKeys[i]];
        const std::array<float, 4> quad = entry.asQuad();
        layout.records[i] = LayoutBox{quad[0], quad[1], quad[2], quad[3]};
        layout.anchors[i] = anchorAfter(entry.value, 4);
    }
    return layout;
}

HudLayout readLayout()
{
    KeyValueFile file;
    file.open(pluginPath(layoutFile));
    return layoutFrom(file);
}
