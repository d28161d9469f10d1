#include "hooks/camera_routines.h"

#include "state/plugin.h"
#include "host/host.h"
#include "platform/address.h"

injector::PatchRecord onFootCameraRecords[3];

namespace {

// Where the camera aims, in the axes of the character or vehicle: to its right on foot,
// to its left in a vehicle.
const Vec3 onFootOffset{0.32f, 0.0f, 0.0f};
const Vec3 vehicleOffset{-0.32f, 0.0f, 0.0f};
constexpr float fixedPointScalar = 0.3f;

using FixedPoint = void(KH_THISCALL*)(void* camera);

// The host function the fixed-point sites called before they were patched (0: none known).
uint32_t hostCameraFixedPoint()
{
    return onFootCameraRecords[1].former ? onFootCameraRecords[1].former : onFootCameraRecords[2].former;
}

} // namespace

KH_THISCALL void OnFootCameraPoint(void* camera, const Vec3* point, uint32_t a2, uint32_t a3, uint32_t a4,
                                   uint32_t a5)
{
    void* character = host::player_character(-1);
    Vec3 beside;
    if (!plugin.hudDisabled && character) {
        host::entity_offset_to_world(character, &beside, &onFootOffset);
        point = &beside;
    }
    host::camera_point_a(camera, point, a2, a3, a4, a5);
}

KH_THISCALL void VehicleCameraPoint(void* camera, const Vec3* point, float a2, float a3, uint32_t a4, uint32_t a5)
{
    void* vehicle = host::player_vehicle(0, 0);
    Vec3 beside;
    if (!plugin.hudDisabled && vehicle) {
        host::entity_offset_to_world(vehicle, &beside, &vehicleOffset);
        point = &beside;
    }
    host::camera_point_b(camera, point, a2, a3, a4, a5);
}

KH_THISCALL void OnFootCameraFixedPoint(void* camera)
{
    void* character = host::player_character(-1);
    if (!character) {
        // Nothing to aim beside: the host aims as it would unpatched.
        if (uint32_t host = hostCameraFixedPoint())
            pointerTo<FixedPoint>(host)(camera);
        return;
    }
    host::camera_scalar.set(fixedPointScalar);
    Vec3 beside;
    host::entity_offset_to_world(character, &beside, &onFootOffset);
    host::camera_point_a(camera, &beside, 0, 0, 0, 0);
}
