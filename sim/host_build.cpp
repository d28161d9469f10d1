#include "host_build.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "graphics_device.h"
#include "host/host.h"
#include "host/host_table.h"
#include "host_aim.h"
#include "host_help.h"
#include "host_image.h"
#include "host_options.h"
#include "host_phone.h"
#include "host_radar.h"
#include "host_renderer_start.h"
#include "host_routines.h"
#include "host_sites.h"
#include "image_writer.h"
#include "render_engine.h"
#include "substitutes.h"

namespace sim {

// A host function the simulated host has no substitute for: its stub calls here, and the
// return address names the function.
extern "C" KH_CDECL void unsimulatedHostFunction(uint32_t stubEnd)
{
    uint32_t address = stubEnd - 5;
    for (const host::Fact& f : host::facts)
        if (f.kind == host::FactKind::Function && f.address == address)
            std::fprintf(stderr, "kellhud-sim: host function %s (0x%X) is not simulated yet\n", f.name, address);
    std::abort();
}

namespace {

// A host function's entry: a jump to its substitute (a call to the trap where there is
// none). At an address of ours the entry holds what the host table says such a host must
// have there, the jump filling the bytes the table leaves free, so the plug-in's start-up
// check and the simulated host cannot disagree.
void writeFunctionEntry(ImageWriter& image, const host::Fact& f, const void* substitute, uint32_t trapEntry)
{
    X86 stub(f.address);
    if (substitute)
        stub.jmp(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(substitute)));
    else
        stub.call(trapEntry);
    if (!f.entry) {
        image.write(f.address, stub, f.name);
        return;
    }
    const host::chosen::Entry& entry = *f.entry;
    uint8_t bytes[host::chosen::entry_size];
    std::memcpy(bytes, entry.bytes, sizeof bytes);
    const std::vector<uint8_t>& jump = stub.bytes();
    for (size_t i = 0; i < jump.size(); ++i) {
        const bool taken = i > 0 ? entry.mask[i] != 0 : entry.mask[0] != 0 && entry.bytes[0] != jump[0];
        if (substitute && taken)
            hostImageFault(std::string("the host table leaves no room for a jump at the entry of ") + f.name);
        bytes[i] = jump[i];
    }
    image.write(f.address, bytes, sizeof bytes, f.name);
}

} // namespace

void buildHostImage()
{
    mapHostImage();
    registerAllSubstitutes();
    ImageWriter image;
    uint32_t trapEntry = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&unsimulatedHostFunction));
    for (const host::Fact& f : host::facts)
        if (f.kind == host::FactKind::Function)
            writeFunctionEntry(image, f, substituteAt(f.address), trapEntry);
    writeEventSites(image);
    writeHookMapSites(image);
    writeHostRoutines(image);
    writeHelpSites(image);
    writeRadarLayers(image);
    writeRenderEngine(image);
    writeGraphicsDevice(image);
    writeRendererStartPath(image);
    writeHostBarCode(image);
    writeOptionSites(image);
    writeAimRoutines(image);
    sealHostCode();
}

} // namespace sim
