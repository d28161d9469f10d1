#pragma once

#include <cstdint>

#include "host/types.h"
#include "injector/patch_table.h"
#include "platform/callconv.h"

// The camera's point of aim, moved beside the player: each routine stands at one host call
// made on the camera object and passes that object on unchanged (thiscall: the routine
// removes its stack arguments, as the host function it stands for does).

// At a call of host::camera_point_a: aims beside the player's character while the display
// is on; the host's own point otherwise, or when the host has no character.
KH_THISCALL void OnFootCameraPoint(void* camera, const Vec3* point, uint32_t a2, uint32_t a3, uint32_t a4,
                                   uint32_t a5);

// At a call of host::camera_point_b: the same beside the player's vehicle.
KH_THISCALL void VehicleCameraPoint(void* camera, const Vec3* point, float a2, float a3, uint32_t a4, uint32_t a5);

// At the calls of the host's fixed-point aim: always beside the character, at this style's
// camera scalar. Without a character the host's own function runs instead.
KH_THISCALL void OnFootCameraFixedPoint(void* camera);

// What the on-foot camera set's rows (the point call, then the two fixed-point calls) held
// before it wrote them: both fixed-point calls reached the host's own fixed-point aim.
extern injector::PatchRecord onFootCameraRecords[3];
