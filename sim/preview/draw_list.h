#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/types.h"
#include "host_state.h"
#include "preview/raster.h"

// The drawing of the host's last frame, kept for the preview picture: one entry per draw
// call in the order the host received them, with the blend and scissor in force. Nothing
// is kept unless recording was switched on (kellhud-sim --png); each frame starts the list
// afresh and keeps its storage, so a long run costs no more than a short one.

namespace sim::preview {

enum class DrawKind : uint8_t { Quad, Triangles, Text, Map, Arrow };

struct DrawOp {
    DrawKind kind = DrawKind::Quad;
    BlendMode blend;
    bool scissored = false;
    ClipRect scissor;
    // Quad: four corners in strip order; `texture` is the sprite's texture id (0: the
    // sprite holds none) and `textured` tells a sprite from a filled rectangle.
    Vertex corners[4] = {};
    uint32_t texture = 0;
    bool textured = false;
    // Triangles: `count` vertices from `first` of vertices(), as a list (3), a strip (4) or
    // a fan (5).
    int32_t primitive = 0;
    uint32_t first = 0, count = 0;
    // Text: the host's text state when it was printed, at (x, y); from `first`, `count`
    // characters of characters(). `fromBottom`: y is the bottom of the last line.
    TextState text;
    float x = 0.0f, y = 0.0f;
    bool fromBottom = false;
};

// The host's screen-space vertex as its immediate-mode drawing takes it.
struct HostVertex {
    float x, y, depth, recipDepth;
    uint32_t colour; // 0xAARRGGBB
    float u, v;
};
static_assert(sizeof(HostVertex) == 28);

void setRecording(bool on);
bool recording();
// A new frame: forgets the previous frame's drawing (not the blend and scissor state, which
// the host keeps across frames).
void beginFrame();

const std::vector<DrawOp>& ops();
// Whether the host's map layer ran in the frame.
bool mapLayerRecorded();
const std::vector<Vertex>& vertices();
const std::string& characters();

// One call per host operation that draws or changes how drawing lands.
void recordFill(const Rect& rect, const Colour& colour);
void recordFill4(const Rect& rect, const Colour& c1, const Colour& c2, const Colour& c3, const Colour& c4);
void recordSprite(uint32_t texture, const Rect& rect, const Colour& colour);
// Texture coordinates per corner: top left, top right, bottom left, bottom right.
void recordSpriteUv(uint32_t texture, const Rect& rect, const Colour& colour, const float uv[8]);
// Corners in the host's order: bottom left, bottom right, top left, top right.
void recordSpriteQuad(uint32_t texture, const float xy[8], const Colour& colour);
void recordTriangles(int32_t primitive, const HostVertex* list, int32_t count);
void recordText(float x, float y, const char* text, bool fromBottom);
void recordMapLayer();
// The host's player arrow, in an 0xAARRGGBB colour: drawn at the centre of the map's place,
// which is known only once the frame is over.
void recordArrow(uint32_t argb);
void recordRenderState(int32_t state, uint32_t value);
void recordDeviceState(uint32_t state, uint32_t value);
void recordScissorRect(int32_t left, int32_t top, int32_t right, int32_t bottom);

} // namespace sim::preview
