#include "graphics_device.h"

#include <cstdio>
#include <cstdlib>

#include "host/host.h"
#include "host_image.h"
#include "host_records.h"
#include "image_writer.h"
#include "preview/draw_list.h"
#include "trace.h"

namespace sim {

namespace {

std::map<uint32_t, uint32_t> states;

uint32_t address(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

void checkDevice(void* device, const char* method)
{
    if (address(device) != records::device) {
        std::fprintf(stderr, "kellhud-sim: %s called on 0x%X, which is not the host's device\n", method,
                     address(device));
        std::abort();
    }
}

KH_STDCALL int32_t setRenderState(void* device, uint32_t state, uint32_t value)
{
    checkDevice(device, "device SetRenderState");
    states[state] = value;
    trace::record("device_set_render_state", SIM_CALLER(), trace::args(state, value));
    preview::recordDeviceState(state, value);
    return 0;
}

KH_STDCALL int32_t setScissorRect(void* device, const host::DeviceRect* rect)
{
    checkDevice(device, "device SetScissorRect");
    trace::record("device_set_scissor_rect", SIM_CALLER(),
                  trace::args(nlohmann::json{rect->left, rect->top, rect->right, rect->bottom}));
    preview::recordScissorRect(rect->left, rect->top, rect->right, rect->bottom);
    return 0;
}

} // namespace

// A device method the simulated host does not have: its stub pushes its table index.
extern "C" KH_CDECL void unsimulatedDeviceMethod(uint32_t index)
{
    std::fprintf(stderr, "kellhud-sim: graphics device method %u is not simulated yet\n", index);
    std::abort();
}

namespace {

// push index; call the trap. GCC 12 warns of a write into an empty vector's storage that
// the insert does not make (its known false positive with -O2).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wstringop-overflow"
X86 unsimulatedMethodStub(uint32_t code, uint32_t index)
{
    X86 stub(code);
    stub.pushImm(index).call(address(reinterpret_cast<const void*>(&unsimulatedDeviceMethod)));
    return stub;
}
#pragma GCC diagnostic pop

} // namespace

void writeGraphicsDevice(ImageWriter& image)
{
    states.clear();
    host::DeviceSetRenderState set = &setRenderState;
    host::DeviceSetScissorRect scissor = &setScissorRect;
    for (uint32_t i = 0; i < host::device_method_count; ++i) {
        uint32_t code = deviceMethodCode + i * deviceMethodStubSize;
        if (i == host::device_method_set_render_state)
            image.write(code, X86(code).jmp(address(reinterpret_cast<const void*>(set))), "device SetRenderState");
        else if (i == host::device_method_set_scissor_rect)
            image.write(code, X86(code).jmp(address(reinterpret_cast<const void*>(scissor))), "device SetScissorRect");
        else
            image.write(code, unsimulatedMethodStub(code, i), "graphics device method");
        hostWrite<uint32_t>(records::deviceMethods + 4 * i, code);
    }
    hostWrite<uint32_t>(records::device, records::deviceMethods);
    hostWrite<uint32_t>(host::d3d_device.address, records::device);
    // The depth the host gives screen-space vertices, and its reciprocal.
    hostWrite<float>(host::im2d_depth.address, imDepth);
    hostWrite<float>(host::im2d_recip_depth.address, 1.0f / imDepth);
    writeDeviceCaps(DeviceState{});
}

void writeDeviceCaps(const DeviceState& device)
{
    static const uint8_t zeros[records::deviceCapsSize] = {};
    hostWrite(records::deviceCaps, zeros, sizeof zeros);
    // Other raster capabilities besides, so that only the scissor bit decides.
    uint32_t raster = 0x000001F0 | (device.scissor ? host::raster_caps_scissor_test : 0);
    hostWrite<uint32_t>(records::deviceCaps + host::device_caps_raster_caps, raster);
}

const std::map<uint32_t, uint32_t>& deviceRenderStates() { return states; }

} // namespace sim
