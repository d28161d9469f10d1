#include "host/host.h"
#include "host_frame.h"
#include "substitutes.h"
#include "trace.h"

// The host's phone cue, its statistics and its own progress-bar routine.

namespace sim {

namespace {

uint32_t address(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

// The character is traced by its address (player 0's is 0xCE0000).
KH_THISCALL bool padPhoneCue(void* pad, void* character)
{
    trace::record("pad_phone_cue", SIM_CALLER(), trace::args(address(character)));
    checkPad(pad, "pad_phone_cue");
    return currentWorld().pad.phone;
}

KH_CDECL float statValue(int32_t stat)
{
    trace::record("stat_value", SIM_CALLER(), trace::args(stat));
    const auto& stats = currentWorld().phone.stats;
    auto it = stats.find(stat);
    return it == stats.end() ? 0.0f : it->second;
}

// The host's own bar: it only leaves its arguments in the trace, so a test sees whether it
// still runs. The narrow arguments are read as the host's routine reads them, low bits only.
KH_CDECL void progressBar(float x, float y, uint16_t width, uint8_t height, float percent, int8_t segment,
                          uint8_t showText, uint8_t frame, Colour colour1, Colour colour2)
{
    trace::record("progress_bar", SIM_CALLER(),
                  trace::args(trace::number(x), trace::number(y), width, height, trace::number(percent), segment,
                              showText, frame, trace::colour(colour1), trace::colour(colour2)));
}

} // namespace

void registerPhoneSubstitutes()
{
    substitute(host::pad_phone_cue, &padPhoneCue);
    substitute(host::stat_value, &statValue);
    substitute(host::progress_bar, &progressBar);
}

} // namespace sim
