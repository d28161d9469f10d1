#include "host/host.h"
#include "host_state.h"
#include "substitutes.h"
#include "trace.h"

// The host's help box, as far as a message handed to it goes, and its sounds.

namespace sim {

namespace {

KH_CDECL void showHelpMessage(const char* text, uint8_t a, uint8_t b, uint8_t c)
{
    hostState().helpMessages.push_back(text ? text : "");
    trace::record("show_help_message", SIM_CALLER(), trace::args(trace::text(text), a, b, c));
}

KH_CDECL void playSound(int32_t sound, int32_t a, float factor)
{
    trace::record("play_sound", SIM_CALLER(), trace::args(sound, a, trace::number(factor)));
}

} // namespace

void registerMessageSubstitutes()
{
    substitute(host::show_help_message, &showHelpMessage);
    substitute(host::play_sound, &playSound);
}

} // namespace sim
