#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/host.h"
#include "host_frame.h"
#include "host_image.h"
#include "host_records.h"
#include "host_sites.h"
#include "preview/draw_list.h"
#include "substitutes.h"
#include "trace.h"

// The host's road route and the radar's conversions around it: the path object's search
// and node look-ups over the scenario's route, the world-to-radar map, the map target's
// clearing, the triangle strips drawn in screen space, and the graphics device's
// capabilities.

namespace sim {

namespace {

uint32_t address(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

[[noreturn]] void refuse(const char* what, uint32_t at)
{
    std::fprintf(stderr, "kellhud-sim: %s (0x%X)\n", what, at);
    std::abort();
}

uint32_t nodeAddress(uint32_t i) { return (i / records::pathNodesPerArea) << 16 | i % records::pathNodesPerArea; }

float legLength(const Vec3& a, const Vec3& b)
{
    float dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Writes the route's nodes from the first, at most `maxNodes` of them, and reports the
// scenario's count (by default the number written). The pointers' values on entry are
// traced, so a test sees what the caller prepared.
KH_THISCALL void pathSearch(void* paths, uint32_t a1, float x, float y, float z, uint32_t startNode, float tx,
                            float ty, float tz, uint32_t* nodes, int16_t* count, int32_t maxNodes, float* distance,
                            float rangeA, uint32_t a14, float rangeB, uint32_t a16, uint32_t targetNode, uint32_t a18,
                            uint32_t a19)
{
    if (address(paths) != pathObject)
        refuse("path_search called on an object that is not the host's path object", address(paths));
    using trace::number;
    nlohmann::json args = {a1,        number(x),         number(y),          number(z),    startNode,
                           number(tx), number(ty),       number(tz),         nodes != nullptr, *count,
                           maxNodes,  number(*distance), number(rangeA),     a14,          number(rangeB),
                           a16,       targetNode,        a18,                a19};
    const std::vector<Vec3>& route = currentWorld().route.nodes;
    uint32_t written = maxNodes > 0 ? std::min<uint32_t>(static_cast<uint32_t>(route.size()), maxNodes) : 0;
    float length = 0.0f;
    for (uint32_t i = 0; i < written; ++i) {
        nodes[i] = nodeAddress(i);
        if (i > 0)
            length += legLength(route[i - 1], route[i]);
    }
    *count = currentWorld().route.count.value_or(static_cast<int16_t>(written));
    *distance = length;
    trace::record("path_search", SIM_CALLER(), std::move(args), *count);
}

// The node's record in the road network: every node the host has, whether or not the
// current route passes it (a node of an earlier route keeps its position). The host reads
// no bounds: a node beyond its areas, such as the empty node 0xFFFFFFFF, would be read
// from whatever lies there, so the run stops.
KH_THISCALL void* pathNode(void* paths, uint32_t node)
{
    if (address(paths) != pathObject)
        refuse("path_node called on an object that is not the host's path object", address(paths));
    uint32_t area = node >> 16, index = node & 0xFFFF;
    uint32_t i = area * records::pathNodesPerArea + index;
    if (index >= records::pathNodesPerArea || i >= records::pathNodeSlots) {
        trace::record("path_node", SIM_CALLER(), trace::args(node));
        refuse("path_node called for a node the road network does not have", node);
    }
    uint32_t record = records::pathNodes + i * records::pathNodeSize;
    trace::record("path_node", SIM_CALLER(), trace::args(node), record);
    return reinterpret_cast<void*>(uintptr_t{record});
}

KH_THISCALL void pathNodePosition(void* node, Vec3* out)
{
    uint32_t record = address(node);
    if (record < records::pathNodes || record >= records::pathNodes + records::pathNodeSlots * records::pathNodeSize ||
        (record - records::pathNodes) % records::pathNodeSize)
        refuse("path_node_position called on something that is not a node record", record);
    std::memcpy(out, node, sizeof *out);
    trace::record("path_node_position", SIM_CALLER(), trace::args(record));
}

// Radar space around the current player: one radar radius is host::radar_range world
// units (100 while it holds no positive range), +y north.
KH_CDECL void worldToRadar(Vec2* out, const Vec2* in)
{
    trace::record("world_to_radar", SIM_CALLER(), trace::args(trace::number(in->x), trace::number(in->y)));
    const WorldState& world = currentWorld();
    const auto index = static_cast<uint32_t>(world.currentPlayer); // may name neither record
    const bool known = index < world.players.size() && world.players[index];
    Vec3 centre = known ? world.players[index]->position : Vec3{0.0f, 0.0f, 0.0f};
    float range = host::radar_range.get();
    if (!(range > 0.0f))
        range = 100.0f;
    *out = {(in->x - centre.x) / range, (in->y - centre.y) / range};
}

// The map screen's preparation of a radar point: the point as it is; the answer is its
// distance from the centre.
KH_CDECL float mapPointPrepare(Vec2* point)
{
    trace::record("map_point_prepare", SIM_CALLER(), trace::args(trace::number(point->x), trace::number(point->y)));
    return std::sqrt(point->x * point->x + point->y * point->y);
}

// Ends the trace record's use as a target.
KH_CDECL void radarClearTrace(uint32_t handle)
{
    trace::record("radar_clear_trace", SIM_CALLER(), trace::args(handle));
    uint32_t index = handle & 0xFFFF;
    if (index >= host::radar_trace_count)
        return;
    uint32_t record = host::radar_traces.address + index * host::radar_trace_size;
    if (host::load<uint16_t>(record + host::radar_trace_counter) == handle >> 16)
        hostWrite<uint8_t>(record + host::radar_trace_flags, 0);
}

// Each vertex as [x, y, depth, reciprocal depth, colour 0xAARRGGBB, u, v].
KH_CDECL void im2dDraw(int32_t primitive, const void* vertices, int32_t count)
{
    using Vertex = preview::HostVertex;
    // The vertex list is built only for a kept trace: a long route would otherwise cost
    // the simulated host more than the plug-in's drawing of it.
    nlohmann::json list = nlohmann::json::array();
    const auto* v = static_cast<const Vertex*>(vertices);
    for (int32_t i = 0; trace::on() && i < count; ++i) {
        using trace::number;
        list.push_back({number(v[i].x), number(v[i].y), number(v[i].depth), number(v[i].recipDepth), v[i].colour,
                        number(v[i].u), number(v[i].v)});
    }
    trace::record("im2d_draw", SIM_CALLER(), trace::args(primitive, count, list));
    preview::recordTriangles(primitive, v, count);
}

KH_THISCALL float vector2Length(const Vec2* self)
{
    trace::record("vector2_length", SIM_CALLER(), trace::args(trace::number(self->x), trace::number(self->y)));
    return std::sqrt(self->x * self->x + self->y * self->y);
}

KH_CDECL const void* deviceCaps()
{
    trace::record("device_caps", SIM_CALLER(), trace::args());
    return reinterpret_cast<const void*>(uintptr_t{records::deviceCaps});
}

} // namespace

void registerRouteSubstitutes()
{
    substitute(host::path_search, &pathSearch);
    substitute(host::path_node, &pathNode);
    substitute(host::path_node_position, &pathNodePosition);
    substitute(host::world_to_radar, &worldToRadar);
    substitute(host::map_point_prepare, &mapPointPrepare);
    substitute(host::radar_clear_trace, &radarClearTrace);
    substitute(host::im2d_draw, &im2dDraw);
    substitute(host::vector2_length, &vector2Length);
    substitute(host::device_caps, &deviceCaps);
}

} // namespace sim
