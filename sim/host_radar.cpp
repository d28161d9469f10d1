#include "host_radar.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <optional>

#include "host/host.h"
#include "host_frame.h"
#include "host_image.h"
#include "host_records.h"
#include "host_routines.h"
#include "image_writer.h"
#include "preview/draw_list.h"
#include "trace.h"

namespace sim {

namespace {

uint32_t address(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

// ---- The map layer --------------------------------------------------------------------

constexpr uint32_t mapResume = host::site_map_blend + 6;
constexpr uint8_t frameSize = 0x20;
constexpr uint8_t blendByteOffset = 0x13;
constexpr uint32_t savedRegisters = 4; // ebp, ebx, esi, edi

// What the host holds in its registers at the site. EAX's low byte is what the displaced
// load overwrites; the rest of EAX must survive it.
enum Reg { Eax, Ecx, Edx, Ebx, Esp, Ebp, Esi, Edi };
constexpr uint32_t canary[8] = {0x5A5A5A5A, 0x11C0FFEE, 0x22BADD06, 0x33FACADE, 0, 0x44D15EA5, 0x55CAB1E5, 0x66B0A710};

// The frame as the host fills it: every byte distinct and non-zero, but the tested one.
uint8_t frameByte(uint32_t i, uint8_t blend) { return i == blendByteOffset ? blend : static_cast<uint8_t>(0xC0 + i); }

uint32_t frameAtSite = 0;
uint8_t blendByte = 0;

KH_CDECL void mapLayerBegin(uint8_t* frame)
{
    uint32_t returnAddress;
    std::memcpy(&returnAddress, frame + frameSize + savedRegisters * 4, 4);
    trace::record("radar_draw_map", reinterpret_cast<void*>(uintptr_t{returnAddress}), trace::args());
    blendByte = currentWorld().mapBlendByte;
    for (uint32_t i = 0; i < frameSize; ++i)
        frame[i] = frameByte(i, blendByte);
    frameAtSite = address(frame);
    preview::recordMapLayer();
}

// `block` holds what the code after the site pushed: EAX, ECX, EDX, EBX, ESI, EDI, EBP, then
// whether ZF was set; the stack pointer at the site lay right above it.
KH_CDECL void mapBlendResumed(const uint32_t* block)
{
    const uint32_t eax = block[0];
    const bool zero = block[7] != 0;
    const uint32_t esp = address(block) + 8 * 4;
    const Reg order[7] = {Eax, Ecx, Edx, Ebx, Esi, Edi, Ebp};
    const char* const names[7] = {"eax", "ecx", "edx", "ebx", "esi", "edi", "ebp"};
    const char* changed = nullptr;
    if (esp != frameAtSite)
        changed = "esp";
    if ((eax & 0xFFFFFF00u) != (canary[Eax] & 0xFFFFFF00u))
        changed = names[0];
    for (int i = 1; i < 7; ++i)
        if (block[i] != canary[order[i]])
            changed = names[i];
    const uint8_t* frame = reinterpret_cast<const uint8_t*>(uintptr_t{frameAtSite});
    for (uint32_t i = 0; i < frameSize; ++i)
        if (frame[i] != frameByte(i, blendByte))
            changed = "stack frame";
    const bool intact = !changed;
    if (changed)
        std::fprintf(stderr, "kellhud-sim: the host's map drawing resumed with its %s changed (eax %08X)\n", changed, eax);
    trace::record("map_blend_resume", reinterpret_cast<void*>(uintptr_t{mapResume}),
                  trace::args(eax & 0xFF, zero, intact));
}

void writeMapLayer(ImageWriter& image)
{
    X86 body(mapLayerBody);
    body.raw({0x55, 0x53, 0x56, 0x57});         // push ebp, ebx, esi, edi
    body.raw({0x83, 0xEC, frameSize});           // sub esp, frameSize
    body.raw({0x54});                            // push esp
    body.call(address(reinterpret_cast<const void*>(&mapLayerBegin))).addEsp(4);
    const uint8_t movImm[8] = {0xB8, 0xB9, 0xBA, 0xBB, 0, 0xBD, 0xBE, 0xBF}; // mov reg, imm32
    for (Reg r : {Eax, Ecx, Edx, Ebx, Esi, Edi, Ebp})
        body.raw({movImm[r]}).imm32(canary[r]);
    // The host's code between here and the site is not simulated.
    body.jmp(host::site_map_blend);
    image.write(mapLayerBody, body, "radar_draw_map body");

    X86 site(host::site_map_blend);
    site.raw({0x8A, 0x44, 0x24, blendByteOffset}); // mov al, [esp+0x13]
    site.raw({0x84, 0xC0});                        // test al, al
    site.site(mapResume);
    site.raw({0x74, 0x04});                        // jz +4
    site.pushImm8(0).raw({0xEB, 0x02});            // push 0; jmp +2
    site.pushImm8(1);                              // push 1
    site.raw({0x55, 0x57, 0x56, 0x53, 0x52, 0x51, 0x50}); // push ebp, edi, esi, ebx, edx, ecx, eax
    site.raw({0x54});                              // push esp
    site.call(address(reinterpret_cast<const void*>(&mapBlendResumed))).addEsp(9 * 4);
    // The gang-overlay colour is made further on in the same routine.
    site.call(gangOverlayColourEntry);
    site.addEsp(frameSize);
    site.raw({0x5F, 0x5E, 0x5B, 0x5D}); // pop edi, esi, ebx, ebp
    site.ret();
    image.write(host::site_map_blend, site, "site_map_blend");
}

// ---- The blip layer -------------------------------------------------------------------

// Host code that makes one call with the stack words it was given: push them again, last
// first, call, drop them. `callAt` is where the call instruction must lie (0: anywhere).
void writeCallWithWords(ImageWriter& image, uint32_t at, uint8_t words, uint32_t function, uint32_t callAt,
                        const char* what)
{
    X86 code(at);
    for (uint8_t i = 0; i < words; ++i)
        code.pushStackArg(static_cast<uint8_t>(4 * words));
    if (callAt)
        code.site(callAt);
    code.call(function).addEsp(static_cast<uint8_t>(4 * words)).ret();
    image.write(at, code, what);
}

constexpr uint32_t toScreenCall = host::radar_draw_blips.address + 0x10;
constexpr uint32_t blipSpriteCall = host::radar_draw_blips.address + 0x30;
constexpr uint32_t levelMarkerCall = host::radar_draw_blips.address + 0x60;
constexpr uint32_t sizedMarkerCall = host::site_sized_marker - 7 * 4;

using ToScreenCall = void(KH_CDECL*)(Vec2* out, const Vec2* in);
using FourWords = void(KH_CDECL*)(uint32_t, uint32_t, uint32_t, uint32_t);
using SevenWords = void(KH_CDECL*)(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
using EightWords = void(KH_CDECL*)(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);

template <class F>
F at(uint32_t code)
{
    return reinterpret_cast<F>(uintptr_t{code});
}

// A byte argument in its stack word: the host's compiler leaves the upper bytes as they were.
uint32_t byteWord(uint8_t v) { return 0xCCCCCC00u | v; }
uint32_t floatWord(float v) { return std::bit_cast<uint32_t>(v); }
// The word the level-marker routine is handed and ignores.
constexpr uint32_t ignoredWord = 0xDEADBEEF;

std::optional<bool> checkAnswer; // set while a blip is being drawn

void drawBlip(const BlipState& blip)
{
    Vec2 in = blip.at;
    Vec2 out = {unconvertedPoint, unconvertedPoint};
    at<ToScreenCall>(toScreenCall)(&out, &in);
    trace::record("radar_blip_point", reinterpret_cast<void*>(uintptr_t{toScreenCall}),
                  trace::args(trace::number(in.x), trace::number(in.y), trace::number(out.x), trace::number(out.y),
                              trace::number(host::radar_range.get())));

    checkAnswer = blip.check;
    at<FourWords>(blipSpriteCall)(byteWord(blip.id), floatWord(out.x), floatWord(out.y), byteWord(blip.alpha));
    checkAnswer.reset();
    if (blip.level) {
        const Colour& c = blip.level->colour;
        at<EightWords>(levelMarkerCall)(floatWord(out.x), floatWord(out.y), ignoredWord, byteWord(c.r), byteWord(c.g),
                                        byteWord(c.b), byteWord(c.a), byteWord(blip.level->kind));
    }
    if (blip.sized) {
        const auto& w = *blip.sized;
        at<SevenWords>(sizedMarkerCall)(w[0], w[1], w[2], w[3], w[4], w[5], w[6]);
    }
}

} // namespace

void writeRadarLayers(ImageWriter& image)
{
    writeMapLayer(image);
    writeCallWithWords(image, toScreenCall, 2, host::radar_to_screen.address, 0, "blip layer: radar_to_screen");
    writeCallWithWords(image, blipSpriteCall, 4, host::radar_draw_blip_sprite.address, 0, "blip layer: blip sprite");
    writeCallWithWords(image, levelMarkerCall, 8, host::radar_draw_level_marker.address, 0,
                       "blip layer: level marker");
    writeCallWithWords(image, sizedMarkerCall, 7, host::radar_draw_sized_marker.address, host::site_sized_marker,
                       "site_sized_marker");
}

void writeRadarWorld(const WorldState& world, bool mapScreenShown)
{
    const uint32_t menu = host::menu_state.address;
    hostWrite<uint8_t>(menu + host::menu_map_shown, mapScreenShown ? world.mapFlag : 0);
    hostWrite<float>(menu + host::menu_map_scale, world.mapView.scale);
    hostWrite<float>(menu + host::menu_map_origin_x, world.mapView.originX);
    hostWrite<float>(menu + host::menu_map_origin_y, world.mapView.originY);
}

void drawHostBlips()
{
    for (const BlipState& blip : currentWorld().blips)
        drawBlip(blip);
}

void drawHostArrow()
{
    // The host points its arrow from the radar's centre, in the colour its colour call left
    // in the arrow's colour object.
    const Colour colour = host::load<Colour>(records::arrowColour);
    trace::record("radar_draw_arrow", reinterpret_cast<void*>(uintptr_t{toScreenCall}),
                  trace::args(trace::colour(colour)));
    preview::recordArrow(uint32_t{colour.a} << 24 | uint32_t{colour.r} << 16 | uint32_t{colour.g} << 8 | colour.b);
}

bool hostMapPlacement(Rect& out)
{
    Vec2 corners[2] = {{-1.0f, 1.0f}, {1.0f, -1.0f}};
    Vec2 screen[2] = {{unconvertedPoint, unconvertedPoint}, {unconvertedPoint, unconvertedPoint}};
    for (int i = 0; i < 2; ++i)
        at<ToScreenCall>(toScreenCall)(&screen[i], &corners[i]);
    if (screen[0].x == unconvertedPoint || screen[1].x == unconvertedPoint)
        return false;
    out = {screen[0].x, screen[0].y, screen[1].x, screen[1].y};
    return true;
}

bool hostSpriteCheck(int32_t id)
{
    if (checkAnswer)
        return *checkAnswer;
    if (id < 0 || static_cast<uint32_t>(id) >= host::radar_sprite_count)
        return false;
    return host::load<uint32_t>(host::radar_sprites.address + static_cast<uint32_t>(id) * 4) != 0;
}

} // namespace sim
