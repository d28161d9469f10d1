#include "radar/ring_gauge.h"

#include "host/host.h"
#include "draw/render_state.h"
#include "textures/sprite_tables.h"

namespace {

// Upper bounds of the bands, each inclusive, as 32-bit floats; the band below a bound
// starts just above the bound before it. The last band ends at 0.99, not 0.95, so a nearly
// full gauge still shows a gap; only a share above 0.99 shows the full ring.
constexpr float bandTops[] = {0.05f, 0.10f, 0.15f, 0.20f, 0.25f, 0.30f, 0.35f, 0.40f, 0.45f, 0.50f,
                              0.55f, 0.60f, 0.65f, 0.70f, 0.75f, 0.80f, 0.85f, 0.90f, 0.99f};
constexpr int bandCount = sizeof bandTops / sizeof bandTops[0];
constexpr int emptiestFrame = bandCount; // "190", the frame of the lowest band

} // namespace

int ringGaugeFrame(float value)
{
    // Written so that a share that is not a number stays one (and then shows nothing).
    float share = value > 1.0f ? 1.0f : value;
    if (!(share > 0.0f))
        return -1;
    for (int band = 0; band < bandCount; ++band)
        if (share <= bandTops[band])
            return emptiestFrame - band;
    return 0;
}

void DrawRingGauge(float value, const Colour& colour, float x, float y, float w, float h, const Vec2 (&uv)[4])
{
    setRenderState(RenderState::TextureFilter, 1);
    setRenderState(RenderState::SourceBlend, blendSourceAlpha);
    setRenderState(RenderState::DestinationBlend, blendInverseSourceAlpha);
    int frame = ringGaugeFrame(value);
    if (frame >= 0) {
        Rect rect;
        host::make_rect(&rect, x, y, x + w, y + h);
        host::sprite_draw_uv(&spriteTables[PROGRESS_BAR_SPRITES].sprites[frame], &rect, &colour, uv[0].x, uv[0].y,
                             uv[1].x, uv[1].y, uv[2].x, uv[2].y, uv[3].x, uv[3].y);
    }
    setRenderState(RenderState::DepthWrite, 0);
}
