#include "radar/radar_transform.h"

#include "state/plugin.h"
#include "data/placement.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "draw/hud_style.h"
#include "state/cash_cue.h"
#include "radar/map_screen.h"
#include "draw/render_state.h"

namespace {

// The range the radar shows, kept here and written to host::radar_range: 300 while the zoom
// is held, then creeping back to 100 by a small step per converted point. 0 until the first
// point on the radar is converted.
float radarRange = 0.0f;

constexpr float zoomedRange = 300.0f;
constexpr float normalRange = 100.0f;
// The step back per converted point: the creep's speed follows how many points the host
// converts in a frame, as it always has.
constexpr float rangeStep = 0.03f;

void updateRange(const void* pad, bool radioShown)
{
    // The zoom is held by what opens the cash window.
    if (cashCued(pad, radioShown)) {
        radarRange = zoomedRange;
    } else {
        if (radarRange != normalRange)
            radarRange -= rangeStep;
        if (radarRange <= normalRange)
            radarRange = normalRange;
        if (radioShown)
            radarRange = normalRange;
    }
    host::radar_range.set(radarRange);
}

} // namespace

KH_CDECL void RadarToScreen(Vec2* out, const Vec2* in)
{
    const void* pad = host::pad_get(0);
    setRenderState(RenderState::TextureFilter, 1);
    // The host may hand the same vector for both: read it whole before writing.
    const Vec2 p = *in;
    if (mapScreenShown()) {
        MapView view = mapView();
        *out = {view.scale * p.x + view.originX, view.originY - p.y * view.scale};
        return;
    }
    if (plugin.hudDisabled)
        return;

    const ScreenScale unit;
    const HudLayout& layout = plugin.layout;
    const LayoutBox& map = layout.records[HUD_RADAR_MAP];
    const Vec2& offset = layout.radarOffset;
    const Shift shift = shiftOf(layout, HUD_RADAR_MAP, unit);
    *out = {shift.atX(unit.pixels(p.x * map.w + (map.x + offset.x))),
            shift.atY(unit.height - unit.pixels(p.y * map.h + (map.y + offset.y)))};
    updateRange(pad, plugin.hudState.radioShown);
}
