#include "preview/draw_list.h"

#include <cstring>

#include "host/host.h"

namespace sim::preview {

namespace {

// The host's render state numbers and values that change how a pixel lands.
constexpr int32_t sourceBlendState = 10;
constexpr int32_t destinationBlendState = 11;
constexpr uint32_t blendOne = 2;

bool on = false;
std::vector<DrawOp> list;
std::vector<Vertex> vertexPool;
std::string characterPool;
BlendMode blend;
bool scissored = false;
ClipRect scissor;

DrawOp& add(DrawKind kind)
{
    DrawOp& op = list.emplace_back();
    op.kind = kind;
    op.blend = blend;
    op.scissored = scissored;
    op.scissor = scissor;
    return op;
}

void addQuad(uint32_t texture, bool textured, const Vertex (&corners)[4])
{
    DrawOp& op = add(DrawKind::Quad);
    std::memcpy(op.corners, corners, sizeof corners);
    op.texture = texture;
    op.textured = textured;
}

Colour fromArgb(uint32_t argb)
{
    return {static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8), static_cast<uint8_t>(argb),
            static_cast<uint8_t>(argb >> 24)};
}

} // namespace

void setRecording(bool value)
{
    on = value;
    blend = {};
    scissored = false;
    scissor = {};
    beginFrame();
}

bool recording() { return on; }

void beginFrame()
{
    list.clear();
    vertexPool.clear();
    characterPool.clear();
}

const std::vector<DrawOp>& ops() { return list; }
bool mapLayerRecorded()
{
    for (const DrawOp& op : list)
        if (op.kind == DrawKind::Map)
            return true;
    return false;
}

const std::vector<Vertex>& vertices() { return vertexPool; }
const std::string& characters() { return characterPool; }

void recordFill(const Rect& r, const Colour& c) { recordFill4(r, c, c, c, c); }

// The four colours go to the corners top left, top right, bottom left, bottom right.
void recordFill4(const Rect& r, const Colour& c1, const Colour& c2, const Colour& c3, const Colour& c4)
{
    if (!on)
        return;
    addQuad(0, false,
            {{r.left, r.top, 0, 0, c1}, {r.right, r.top, 1, 0, c2}, {r.left, r.bottom, 0, 1, c3},
             {r.right, r.bottom, 1, 1, c4}});
}

// A rectangle whose left lies right of its right is drawn mirrored: its left edge still
// takes u = 0.
void recordSprite(uint32_t texture, const Rect& r, const Colour& c)
{
    const float uv[8] = {0, 0, 1, 0, 0, 1, 1, 1};
    recordSpriteUv(texture, r, c, uv);
}

void recordSpriteUv(uint32_t texture, const Rect& r, const Colour& c, const float uv[8])
{
    if (!on)
        return;
    addQuad(texture, true,
            {{r.left, r.top, uv[0], uv[1], c}, {r.right, r.top, uv[2], uv[3], c}, {r.left, r.bottom, uv[4], uv[5], c},
             {r.right, r.bottom, uv[6], uv[7], c}});
}

void recordSpriteQuad(uint32_t texture, const float xy[8], const Colour& c)
{
    if (!on)
        return;
    addQuad(texture, true,
            {{xy[0], xy[1], 0, 1, c}, {xy[2], xy[3], 1, 1, c}, {xy[4], xy[5], 0, 0, c}, {xy[6], xy[7], 1, 0, c}});
}

void recordTriangles(int32_t primitive, const HostVertex* hostList, int32_t count)
{
    if (!on || count <= 0 || !hostList)
        return;
    DrawOp& op = add(DrawKind::Triangles);
    op.primitive = primitive;
    op.first = static_cast<uint32_t>(vertexPool.size());
    op.count = static_cast<uint32_t>(count);
    for (int32_t i = 0; i < count; ++i) {
        const HostVertex& v = hostList[i];
        vertexPool.push_back({v.x, v.y, v.u, v.v, fromArgb(v.colour)});
    }
}

void recordText(float x, float y, const char* text, bool fromBottom)
{
    if (!on || !text)
        return;
    DrawOp& op = add(DrawKind::Text);
    op.text = hostState().text;
    op.x = x;
    op.y = y;
    op.fromBottom = fromBottom;
    op.first = static_cast<uint32_t>(characterPool.size());
    op.count = static_cast<uint32_t>(std::strlen(text));
    characterPool.append(text, op.count);
}

void recordArrow(uint32_t argb)
{
    if (on)
        add(DrawKind::Arrow).corners[0].colour = fromArgb(argb);
}

void recordMapLayer()
{
    if (on)
        add(DrawKind::Map);
}

void recordRenderState(int32_t state, uint32_t value)
{
    if (state == sourceBlendState)
        blend.sourceWhole = value == blendOne;
    else if (state == destinationBlendState)
        blend.destinationWhole = value == blendOne;
}

void recordDeviceState(uint32_t state, uint32_t value)
{
    if (state == host::device_state_scissor_test)
        scissored = value != 0;
}

void recordScissorRect(int32_t left, int32_t top, int32_t right, int32_t bottom) { scissor = {left, top, right, bottom}; }

} // namespace sim::preview
