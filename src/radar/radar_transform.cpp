#include "radar/radar_transform.h"

#include "state/plugin.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "draw/hud_style.h"
#include "platform/win32.h"
#include "radar/map_screen.h"
#include "draw/render_state.h"

float radarRange = 0.0f;

namespace {

constexpr int zoomKey = 0x54; // "T", which also opens the cash window
constexpr float zoomedRange = 300.0f;
constexpr float normalRange = 100.0f;
// The step back per converted point: the creep's speed follows how many points the host
// converts in a frame, as it always has.
constexpr float rangeStep = 0.03f;

// The key, or the pad control that opens the cash window; the pad's control belongs to the
// radio display while that shows.
bool zoomHeld(const void* pad)
{
    if ((GetKeyState(zoomKey) & 0x8000) != 0)
        return true;
    return pad && host::pad_cash_cue_field.of(pad) != 0 && !plugin.hudState.radioShown;
}

void updateRange(const void* pad)
{
    if (zoomHeld(pad)) {
        radarRange = zoomedRange;
    } else {
        if (radarRange != normalRange)
            radarRange -= rangeStep;
        if (radarRange <= normalRange)
            radarRange = normalRange;
        if (plugin.hudState.radioShown)
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

    const LayoutBox& map = layoutOf(HUD_RADAR_MAP);
    const Vec2& offset = plugin.layout.radarOffset;
    *out = {pixels(p.x * map.w + (map.x + offset.x)), screenHeight() - pixels(p.y * map.h + (map.y + offset.y))};
    updateRange(pad);
}
