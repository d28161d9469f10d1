#include "data/layout.h"

#include <array>
#include <iterator>

#include "core/key_value_file.h"
#include "core/plugin_path.h"

#define KELLHUD_NAME_ENTRY(name) #name,
const char* const layoutRecordKeys[] = {KELLHUD_LAYOUT_RECORDS(KELLHUD_NAME_ENTRY)};
#undef KELLHUD_NAME_ENTRY
static_assert(std::size(layoutRecordKeys) == LAYOUT_RECORD_COUNT, "one key per record");

const char* const layoutOffsetKeys[2] = {"HUD_RADAR_OFFSET_X_Y", "HUD_PLAYER_INFO_OFFSET_X_Y"};

namespace {

Vec2 readPair(const KeyValueFile& file, const char* key)
{
    const std::array<float, 2> pair = file[key].asPair();
    return Vec2{pair[0], pair[1]};
}

} // namespace

HudLayout readLayout()
{
    KeyValueFile file;
    file.open(pluginPath(layoutFile));

    HudLayout layout{};
    layout.radarOffset = readPair(file, layoutOffsetKeys[0]);
    layout.playerInfoOffset = readPair(file, layoutOffsetKeys[1]);
    for (int i = 0; i < LAYOUT_RECORD_COUNT; ++i) {
        const std::array<float, 4> quad = file[layoutRecordKeys[i]].asQuad();
        layout.records[i] = LayoutBox{quad[0], quad[1], quad[2], quad[3]};
    }
    return layout;
}
