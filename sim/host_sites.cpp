#include "host_sites.h"

#include "host/host.h"
#include "image_writer.h"

namespace sim {

namespace {

// The host pushes a site's stack argument just before the call; the simulated host enters
// a few bytes early, at that push.
constexpr uint32_t pushLength = 4;

template <class Pointer>
Pointer entry(uint32_t address)
{
    return reinterpret_cast<Pointer>(static_cast<uintptr_t>(address));
}

using CdeclSite = uintptr_t(KH_CDECL*)();
using BoolSite = uintptr_t(KH_CDECL*)(bool);
using ThiscallSite = uintptr_t(KH_THISCALL*)(void*);

// call F; ret
void writeCallSite(ImageWriter& image, uint32_t site, uint32_t function, const char* what)
{
    X86 code(site);
    code.call(function).ret();
    image.write(site, code, what);
}

// push [esp+4]; call F; add esp, 4; ret
void writeBoolCallSite(ImageWriter& image, uint32_t site, uint32_t function, const char* what)
{
    X86 code(site - pushLength);
    code.pushStackArg(4).call(function).addEsp(4).ret();
    image.write(site - pushLength, code, what);
}

} // namespace

void writeEventSites(ImageWriter& image)
{
    writeCallSite(image, host::site_frame_process, host::frame_process.address, "site_frame_process");
    writeCallSite(image, host::site_draw, host::draw_overlay.address, "site_draw");
    writeCallSite(image, host::site_renderer_start, host::renderer_start.address, "site_renderer_start");
    writeCallSite(image, host::site_renderer_shutdown, host::renderer_shutdown.address, "site_renderer_shutdown");
    writeBoolCallSite(image, host::site_radar_draw_a, host::radar_draw_overlay.address, "site_radar_draw_a");
    writeBoolCallSite(image, host::site_radar_draw_b, host::radar_draw_overlay.address, "site_radar_draw_b");

    // The host's code holds the address of its path object as an operand here.
    X86 pathObjectRef(host::object_ref_slot.address);
    pathObjectRef.imm32(pathObject);
    image.write(host::object_ref_slot.address, pathObjectRef, "object_ref_slot");

    // The host ends a routine with a tail jump here: the function it jumps to returns
    // straight to the routine's caller.
    X86 tail(host::site_draw_tail);
    tail.jmp(host::draw_tail.address);
    image.write(host::site_draw_tail, tail, "site_draw_tail");
}

uintptr_t reachFrameProcess() { return entry<CdeclSite>(host::site_frame_process)(); }
uintptr_t reachDraw() { return entry<CdeclSite>(host::site_draw)(); }
uintptr_t reachRendererStart() { return entry<CdeclSite>(host::site_renderer_start)(); }
uintptr_t reachRendererShutdown() { return entry<CdeclSite>(host::site_renderer_shutdown)(); }
uintptr_t reachRadarDrawA(bool flag) { return entry<BoolSite>(host::site_radar_draw_a - pushLength)(flag); }
uintptr_t reachRadarDrawB(bool flag) { return entry<BoolSite>(host::site_radar_draw_b - pushLength)(flag); }

uintptr_t reachDrawTail()
{
    return entry<ThiscallSite>(host::site_draw_tail)(reinterpret_cast<void*>(uintptr_t{drawTailObject}));
}

} // namespace sim
