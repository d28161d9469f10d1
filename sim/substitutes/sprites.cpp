#include "host/host.h"
#include "substitutes.h"
#include "textures.h"
#include "trace.h"

// Sprite handles and their drawing; a sprite appears in the trace by its texture's name,
// or null while it holds none.

namespace sim {

namespace {

nlohmann::json spriteArg(const Sprite* sprite) { return trace::text(textureName(sprite->texture)); }

KH_THISCALL void spriteConstruct(Sprite* self)
{
    self->texture = 0;
    trace::record("sprite_construct", SIM_CALLER(), trace::args(nullptr));
}

KH_THISCALL void spriteDestruct(Sprite* self)
{
    self->texture = 0;
    trace::record("sprite_destruct", SIM_CALLER(), trace::args(nullptr));
}

KH_THISCALL void spriteDraw(Sprite* self, const Rect* rect, const Colour* colour)
{
    trace::record("sprite_draw", SIM_CALLER(), trace::args(spriteArg(self), trace::rect(*rect), trace::colour(*colour)));
}

KH_THISCALL void spriteDrawXywh(Sprite* self, float x, float y, float w, float h, const Colour* colour)
{
    trace::record("sprite_draw_xywh", SIM_CALLER(),
                  trace::args(spriteArg(self), trace::number(x), trace::number(y), trace::number(w),
                              trace::number(h), trace::colour(*colour)));
}

} // namespace

void registerSpriteSubstitutes()
{
    substitute(host::sprite_construct, &spriteConstruct);
    substitute(host::sprite_destruct, &spriteDestruct);
    substitute(host::sprite_draw, &spriteDraw);
    substitute(host::sprite_draw_xywh, &spriteDrawXywh);
}

} // namespace sim
