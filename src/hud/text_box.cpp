#include "hud/text_box.h"

#include "data/screen_unit.h"
#include "host/host.h"
#include "platform/address.h"
#include "draw/hud_style.h"
#include "draw/render_state.h"

namespace {

constexpr uint8_t boxAlpha = 100;

} // namespace

KH_CDECL void DrawTextBoxBackground(const Rect* rect, const Colour*)
{
    // No rectangle, no box: nothing is drawn and no render state is touched.
    if (!rect)
        return;
    const RenderStateScope states(boxFillStates);

    // The host's rectangle may lie anywhere in its memory: read it byte-wise. The box
    // reaches px(10) beyond the text on one side and ends px(2) short of it on the other.
    const Rect host = host::load<Rect>(addressOf(rect));
    Rect box;
    host::make_rect(&box, host.left, host.bottom - pixels(2), host.right, host.top + pixels(10));
    const Colour black = makeColour(0, 0, 0, boxAlpha);
    host::fill_rect_4(&box, &black, &black, &black, &black);
}
