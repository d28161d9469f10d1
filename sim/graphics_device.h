#pragma once

#include <cstdint>
#include <map>

#include "world_state.h"

// The host's Direct3D 9 device: host::d3d_device points to an object whose first word is
// its method table. SetRenderState and SetScissorRect are simulated and traced
// (device_set_render_state, device_set_scissor_rect); every other method stops the run,
// naming its table entry. host::device_caps answers with the device's capability record.
// The host's depth for screen-space vertices is laid beside it.

namespace sim {

class ImageWriter;

// Lays the object, its table and the methods' code, and points host::d3d_device at it.
void writeGraphicsDevice(ImageWriter& image);
// The capability record as the scenario's device has it.
void writeDeviceCaps(const DeviceState& device);

// Every device render state set so far, by number (a state never set reads as 0).
const std::map<uint32_t, uint32_t>& deviceRenderStates();

// Where the simulated host lays the methods' code: one 16-byte stub per table entry.
constexpr uint32_t deviceMethodCode = 0x7F9C00;
constexpr uint32_t deviceMethodStubSize = 16;

// The near depth of the host's screen-space drawing (host::im2d_depth); its reciprocal is
// host::im2d_recip_depth.
constexpr float imDepth = 0.5f;

} // namespace sim
