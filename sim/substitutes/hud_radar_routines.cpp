#include "host/host.h"
#include "host_image.h"
#include "host_radar.h"
#include "host_records.h"
#include "host_routines.h"
#include "substitutes.h"
#include "trace.h"

// The host's own HUD and radar routines, the ones the plug-in replaces whole. They stand
// for the host's drawing: each leaves its mark in the trace, so a test sees whether the
// host's routine still ran, and the radar runs the host's map and blip layers, whose code
// makes the gang-overlay and arrow colours at their sites. The map layer is machine code of
// its own (host_radar.h).

namespace sim {

namespace {

KH_CDECL void hudDraw() { trace::record("hud_draw", SIM_CALLER(), trace::args()); }

KH_CDECL void hudExtraDraw() { trace::record("hud_extra_draw", SIM_CALLER(), trace::args()); }

KH_CDECL void helpBoxDraw() { trace::record("help_box_draw", SIM_CALLER(), trace::args()); }

// The host's own 15 HUD colours.
KH_THISCALL void hudColoursFill(Colour* colours)
{
    static const Colour defaults[records::hudColourCount] = {
        {180, 25, 29, 255},   {54, 104, 44, 255},  {50, 60, 127, 255},  {172, 203, 241, 255},
        {225, 225, 225, 255}, {0, 0, 0, 255},      {144, 98, 16, 255},  {168, 110, 252, 255},
        {150, 150, 150, 255}, {104, 15, 17, 255},  {38, 71, 31, 255},   {226, 192, 99, 255},
        {74, 90, 107, 255},   {20, 25, 200, 255},  {255, 255, 0, 255}};
    trace::record("hud_colours_fill", SIM_CALLER(), trace::args());
    uint32_t at = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(colours));
    for (const Colour& c : defaults) {
        hostWrite<Colour>(at, c);
        at += sizeof c;
    }
}

KH_CDECL void radarDraw()
{
    trace::record("radar_draw", SIM_CALLER(), trace::args());
    host::radar_draw_map(nullptr);
    host::radar_draw_blips(nullptr);
}

KH_THISCALL void radarDrawBlips(void*)
{
    trace::record("radar_draw_blips", SIM_CALLER(), trace::args());
    drawHostBlips();
    reachArrowColour();
    drawHostArrow();
}

} // namespace

void registerHudRadarRoutines()
{
    substitute(host::hud_draw, &hudDraw);
    substitute(host::hud_extra_draw, &hudExtraDraw);
    substitute(host::help_box_draw, &helpBoxDraw);
    substitute(host::hud_colours_fill, &hudColoursFill);
    substitute(host::radar_draw, &radarDraw);
    substitute(host::radar_draw_blips, &radarDrawBlips);
}

} // namespace sim
