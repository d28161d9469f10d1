#include "host/host.h"
#include "host_frame.h"
#include "substitutes.h"
#include "trace.h"

// The host's own radio display and crosshair (traced, so a test sees whether they still
// ran) and the radio's answer whether a changed station is to be shown.

namespace sim {

namespace {

KH_THISCALL void radioDisplay(void*) { trace::record("radio_display", SIM_CALLER(), trace::args()); }

KH_THISCALL bool radioChangeReady(void*)
{
    trace::record("radio_change_ready", SIM_CALLER(), trace::args());
    return currentWorld().aim.radio.ready;
}

KH_CDECL void crosshairDraw() { trace::record("crosshair_draw", SIM_CALLER(), trace::args()); }

} // namespace

void registerAimSubstitutes()
{
    substitute(host::radio_display, &radioDisplay);
    substitute(host::radio_change_ready, &radioChangeReady);
    substitute(host::crosshair_draw, &crosshairDraw);
}

} // namespace sim
