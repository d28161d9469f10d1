#include <cmath>
#include <numbers>

#include "host/host.h"
#include "host_frame.h"
#include "host_options.h"
#include "host_records.h"
#include "substitutes.h"
#include "trace.h"

// The host functions of the option sets' sites: vectors, the offset of an entity's point,
// the 3D marker drawing and the camera's aim. They leave their arguments in the trace.

namespace sim {

namespace {

uint32_t address(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

// A point the host passes by address, traced as [x,y,z] (null for no point).
struct PointArg {
    const Vec3* value;
};

void to_json(nlohmann::json& j, const PointArg& p)
{
    if (!p.value) {
        j = nullptr;
        return;
    }
    j = nlohmann::json::array({nlohmann::json(trace::number(p.value->x)), nlohmann::json(trace::number(p.value->y)),
                               nlohmann::json(trace::number(p.value->z))});
}

PointArg point(const Vec3* p) { return {p}; }

KH_THISCALL Vec3* vector3Make(Vec3* self, float x, float y, float z)
{
    trace::record("vector3_make", SIM_CALLER(), trace::args(trace::number(x), trace::number(y), trace::number(z)));
    *self = {x, y, z};
    return self;
}

// The simulated host's characters and vehicles stand at their player's position, turned by
// their heading about the up axis: an offset in the entity's axes is turned with it and
// added to the position. An entity the host does not know stands at the origin, unturned.
KH_THISCALL Vec3* entityOffsetToWorld(void* entity, Vec3* out, const Vec3* offset)
{
    trace::record("entity_offset_to_world", SIM_CALLER(), trace::args(address(entity), point(offset)));
    Vec3 at{0.0f, 0.0f, 0.0f};
    double heading = 0.0;
    for (int i = 0; i < 2; ++i) {
        const auto& player = currentWorld().players[static_cast<size_t>(i)];
        if (!player)
            continue;
        if (address(entity) == records::character(i)) {
            at = player->position;
            heading = player->heading;
        } else if (address(entity) == records::vehicle(i)) {
            at = player->position;
            heading = player->vehicle ? player->vehicle->heading : 0.0f;
        }
    }
    const double turn = heading * std::numbers::pi / 180.0;
    const double c = std::cos(turn), s = std::sin(turn);
    *out = {at.x + static_cast<float>(offset->x * c - offset->y * s),
            at.y + static_cast<float>(offset->x * s + offset->y * c), at.z + offset->z};
    return out;
}

KH_CDECL void markerDraw(int32_t a1, uint32_t a2, const Vec3* position, float size, uint8_t r, uint8_t g, uint8_t b,
                         uint8_t a, float f9, float f10, uint8_t a11, uint32_t a12, uint32_t a13, uint32_t a14,
                         uint32_t a15)
{
    trace::record("marker_draw", SIM_CALLER(),
                  trace::args(a1, a2, point(position), trace::number(size), r, g, b, a, trace::number(f9),
                              trace::number(f10), a11, a12, a13, a14, a15));
}

KH_CDECL void markerDrawGround(int32_t kind, const Vec3* position, float size, uint8_t r, uint8_t g, uint8_t b,
                               uint8_t a)
{
    trace::record("marker_draw_ground", SIM_CALLER(),
                  trace::args(kind, point(position), trace::number(size), r, g, b, a));
}

KH_CDECL void markerDrawAbove(int32_t a1, uint32_t kind, const Vec3* position, float size, uint8_t r, uint8_t g,
                              uint8_t b, uint8_t a)
{
    trace::record("marker_draw_above", SIM_CALLER(),
                  trace::args(a1, kind, point(position), trace::number(size), r, g, b, a));
}

// The camera object is left out of the trace: the host has one.
KH_THISCALL void cameraPointA(void*, const Vec3* at, uint32_t a2, uint32_t a3, uint32_t a4, uint32_t a5)
{
    trace::record("camera_point_a", SIM_CALLER(), trace::args(point(at), a2, a3, a4, a5));
}

KH_THISCALL void cameraPointB(void*, const Vec3* at, float a2, float a3, uint32_t a4, uint32_t a5)
{
    trace::record("camera_point_b", SIM_CALLER(),
                  trace::args(point(at), trace::number(a2), trace::number(a3), a4, a5));
}

// The host's fixed-point aim sets its own camera scalar.
KH_THISCALL void cameraPointFixed(void* camera)
{
    trace::record("camera_point_fixed", SIM_CALLER(), trace::args(address(camera)));
    host::camera_scalar.set(hostCameraScalar);
}

} // namespace

void registerOptionSubstitutes()
{
    substitute(host::vector3_make, &vector3Make);
    substitute(host::entity_offset_to_world, &entityOffsetToWorld);
    substitute(host::marker_draw, &markerDraw);
    substitute(host::marker_draw_ground, &markerDrawGround);
    substitute(host::marker_draw_above, &markerDrawAbove);
    substitute(host::camera_point_a, &cameraPointA);
    substitute(host::camera_point_b, &cameraPointB);
    substitute(host::camera_point_fixed, &cameraPointFixed);
}

} // namespace sim
