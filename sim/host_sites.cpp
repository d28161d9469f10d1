#include "host_sites.h"

#include "host_renderer_start.h"

#include <bit>

#include "host/host.h"
#include "host_image.h"
#include "host_records.h"
#include "image_writer.h"
#include "render_engine.h"

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

    // The host's renderer-start path: its texture and font loads, the renderer-started event
    // site, then the host fills its array of HUD colours.
    X86 startPath(rendererStartPath);
    startPath.call(rendererStartLoads());
    startPath.movEcx(records::hudColourArray).call(host::hud_colours_fill.address).ret();
    image.write(rendererStartPath, startPath, "renderer-start path");

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

void writeHookMapSites(ImageWriter& image)
{
    auto write = [&](uint32_t at, const X86& code, const char* what) { image.write(at, code, what); };
    // je short over the next 16 bytes
    auto branch = [&](uint32_t site, const char* what) { write(site, X86(site).jeShort(16), what); };
    // push imm32: the operand lies one byte after the opcode
    auto value = [&](uint32_t site, uint32_t v, const char* what) { write(site - 1, X86(site - 1).pushImm(v), what); };
    // fld dword [address]: the operand lies two bytes after the opcode
    auto constant = [&](uint32_t site, uint32_t address, const char* what) {
        write(site - 2, X86(site - 2).fldMem(address).fpop(), what);
    };
    // two 8-byte stores
    auto run16 = [&](uint32_t site, const char* what) {
        write(site, X86(site).movStackImm32(0x10, 0).movStackImm32(0x14, 0), what);
    };

    branch(host::site_hud_draw_conditional_jump, "site_hud_draw_conditional_jump");
    branch(host::site_draw_routine_conditional_jump, "site_draw_routine_conditional_jump");
    value(host::site_hud_draw_push_operand, 2, "site_hud_draw_push_operand");
    value(host::site_hud_push_operand_b, 2, "site_hud_push_operand_b");
    value(host::site_hud_push_operand_a, 2, "site_hud_push_operand_a");
    value(host::site_radar_push_operand, 2, "site_radar_push_operand");
    value(host::site_radar_map_alpha, 255, "site_radar_map_alpha");

    constant(host::site_arrow_constant_b, records::arrowConstantA, "site_arrow_constant_b");
    constant(host::site_arrow_constant_a, records::arrowConstantA, "site_arrow_constant_a");
    constant(host::site_arrow_constant_c, records::arrowConstantB, "site_arrow_constant_c");
    constant(host::site_arrow_constant_d, records::arrowConstantB, "site_arrow_constant_d");
    hostWrite<float>(records::arrowConstantA, 6.0f);
    hostWrite<float>(records::arrowConstantB, 3.0f);

    run16(host::site_radar_draw_stores_a, "site_radar_draw_stores_a");
    run16(host::site_radar_draw_stores_b, "site_radar_draw_stores_b");
    run16(host::site_radar_draw_stores_c, "site_radar_draw_stores_c");
    run16(host::site_radar_draw_stores_d, "site_radar_draw_stores_d");
}

uintptr_t reachFrameProcess() { return entry<CdeclSite>(host::site_frame_process)(); }
uintptr_t reachDraw() { return entry<CdeclSite>(host::site_draw)(); }
uintptr_t reachRendererStart() { return entry<CdeclSite>(host::site_renderer_start)(); }
void reachRendererStartPath()
{
    startRenderEngine();
    entry<void(KH_CDECL*)()>(rendererStartPath)();
}
uintptr_t reachRendererShutdown()
{
    uintptr_t result = entry<CdeclSite>(host::site_renderer_shutdown)();
    stopRenderEngine();
    return result;
}
uintptr_t reachRadarDrawA(bool flag) { return entry<BoolSite>(host::site_radar_draw_a - pushLength)(flag); }
uintptr_t reachRadarDrawB(bool flag) { return entry<BoolSite>(host::site_radar_draw_b - pushLength)(flag); }

uintptr_t reachDrawTail()
{
    return entry<ThiscallSite>(host::site_draw_tail)(reinterpret_cast<void*>(uintptr_t{drawTailObject}));
}

} // namespace sim
