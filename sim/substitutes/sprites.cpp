#include <cstdio>
#include <map>

#include "host/host.h"
#include "preview/draw_list.h"
#include "substitutes.h"
#include "textures.h"
#include "trace.h"

// Sprite handles and their drawing. In the drawing calls a sprite appears by its texture's
// name, or null while it holds none. In the calls that make, bind, release and unmake a
// handle it appears by its identity: the serial number of its construction (1, 2, ... in
// construction order), or, for a handle the host owns and never constructed through the
// traced operation, its address as "0x...".

namespace sim {

namespace {

std::map<uint32_t, int> serials; // handle address -> serial
int nextSerial = 1;

uint32_t addressOf(const Sprite* sprite) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(sprite)); }

nlohmann::json spriteId(const Sprite* sprite)
{
    auto it = serials.find(addressOf(sprite));
    if (it != serials.end())
        return it->second;
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", addressOf(sprite));
    return text;
}

KH_THISCALL void spriteConstruct(Sprite* self)
{
    self->texture = 0;
    serials[addressOf(self)] = nextSerial++;
    trace::record("sprite_construct", SIM_CALLER(), trace::args(spriteId(self)));
}

KH_THISCALL void spriteDestruct(Sprite* self)
{
    trace::record("sprite_destruct", SIM_CALLER(), trace::args(spriteId(self)));
    self->texture = 0;
    serials.erase(addressOf(self));
}

// Looks the name up in the current dictionary only: a name it does not hold leaves the
// handle empty, and the result in the trace shows it.
KH_THISCALL void spriteSetTexture(Sprite* self, const char* name)
{
    self->texture = findCurrentTexture(name);
    trace::record("sprite_set_texture", SIM_CALLER(), trace::args(spriteId(self), trace::text(name)),
                  trace::text(textureName(self->texture)));
}

KH_THISCALL void spriteRelease(Sprite* self)
{
    self->texture = 0;
    trace::record("sprite_release", SIM_CALLER(), trace::args(spriteId(self)));
}

// The summary counts drawn sprites by texture name whether or not the trace is kept.
KH_THISCALL void spriteDraw(Sprite* self, const Rect* rect, const Colour* colour)
{
    const char* name = textureName(self->texture);
    trace::countSprite(SIM_CALLER(), name);
    trace::record("sprite_draw", SIM_CALLER(), trace::args(trace::text(name), trace::rect(*rect), trace::colour(*colour)));
    preview::recordSprite(self->texture, *rect, *colour);
}

KH_THISCALL void spriteDrawXywh(Sprite* self, float x, float y, float w, float h, const Colour* colour)
{
    const char* name = textureName(self->texture);
    trace::countSprite(SIM_CALLER(), name);
    trace::record("sprite_draw_xywh", SIM_CALLER(),
                  trace::args(trace::text(name), trace::number(x), trace::number(y), trace::number(w),
                              trace::number(h), trace::colour(*colour)));
    preview::recordSprite(self->texture, Rect{x, y, x + w, y + h}, *colour);
}

// The four (u, v) pairs follow the colour, one pair per corner, as the host takes them.
KH_THISCALL void spriteDrawUv(Sprite* self, const Rect* rect, const Colour* colour, float u0, float v0, float u1,
                              float v1, float u2, float v2, float u3, float v3)
{
    const char* name = textureName(self->texture);
    trace::countSprite(SIM_CALLER(), name);
    trace::record("sprite_draw_uv", SIM_CALLER(),
                  trace::args(trace::text(name), trace::rect(*rect), trace::colour(*colour), trace::number(u0),
                              trace::number(v0), trace::number(u1), trace::number(v1), trace::number(u2),
                              trace::number(v2), trace::number(u3), trace::number(v3)));
    const float uv[8] = {u0, v0, u1, v1, u2, v2, u3, v3};
    preview::recordSpriteUv(self->texture, *rect, *colour, uv);
}

KH_THISCALL void spriteDrawQuad(Sprite* self, float x0, float y0, float x1, float y1, float x2, float y2, float x3,
                                float y3, const Colour* colour)
{
    const char* name = textureName(self->texture);
    trace::countSprite(SIM_CALLER(), name);
    trace::record("sprite_draw_quad", SIM_CALLER(),
                  trace::args(trace::text(name), trace::number(x0), trace::number(y0), trace::number(x1),
                              trace::number(y1), trace::number(x2), trace::number(y2), trace::number(x3),
                              trace::number(y3), trace::colour(*colour)));
    const float xy[8] = {x0, y0, x1, y1, x2, y2, x3, y3};
    preview::recordSpriteQuad(self->texture, xy, *colour);
}

} // namespace

void registerSpriteSubstitutes()
{
    serials.clear();
    nextSerial = 1;
    substitute(host::sprite_construct, &spriteConstruct);
    substitute(host::sprite_destruct, &spriteDestruct);
    substitute(host::sprite_set_texture, &spriteSetTexture);
    substitute(host::sprite_release, &spriteRelease);
    substitute(host::sprite_draw, &spriteDraw);
    substitute(host::sprite_draw_xywh, &spriteDrawXywh);
    substitute(host::sprite_draw_uv, &spriteDrawUv);
    substitute(host::sprite_draw_quad, &spriteDrawQuad);
}

} // namespace sim
