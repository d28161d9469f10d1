#include "host/host.h"
#include "preview/draw_list.h"
#include "substitutes.h"
#include "trace.h"

// Colours, rectangles and filled rectangles.

namespace sim {

namespace {

KH_THISCALL Colour* makeColour(Colour* self, uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    *self = {r, g, b, a};
    trace::record("make_colour", SIM_CALLER(), trace::args(r, g, b, a));
    return self;
}

KH_THISCALL Rect* makeRect(Rect* self, float left, float top, float right, float bottom)
{
    *self = {left, top, right, bottom};
    trace::record("make_rect", SIM_CALLER(), trace::args(trace::rect(*self)));
    return self;
}

KH_CDECL void fillRect(const Rect* rect, const Colour* colour)
{
    // A box call of the host's may pass no rectangle (a scenario's null one): nothing is filled.
    if (!rect) {
        trace::record("fill_rect", SIM_CALLER(), trace::args(nullptr, trace::colour(*colour)));
        return;
    }
    trace::record("fill_rect", SIM_CALLER(), trace::args(trace::rect(*rect), trace::colour(*colour)));
    preview::recordFill(*rect, *colour);
}

KH_CDECL void fillRect4(const Rect* rect, const Colour* c1, const Colour* c2, const Colour* c3, const Colour* c4)
{
    trace::record("fill_rect_4", SIM_CALLER(),
                  trace::args(trace::rect(*rect), trace::colour(*c1), trace::colour(*c2), trace::colour(*c3),
                              trace::colour(*c4)));
    preview::recordFill4(*rect, *c1, *c2, *c3, *c4);
}

KH_THISCALL Vec2* vector2Assign(Vec2* self, const Vec2* from)
{
    *self = *from;
    trace::record("vector2_assign", SIM_CALLER(), trace::args(trace::number(from->x), trace::number(from->y)));
    return self;
}

} // namespace

void registerShapeSubstitutes()
{
    substitute(host::make_colour, &makeColour);
    substitute(host::make_rect, &makeRect);
    substitute(host::fill_rect, &fillRect);
    substitute(host::fill_rect_4, &fillRect4);
    substitute(host::vector2_assign, &vector2Assign);
}

} // namespace sim
