#include "radar/map_blend.h"

#include "core/plugin.h"
#include "host/host.h"
#include "radar/render_states.h"

// The host's map code that the jump displaces and where it carries on.
#define KH_MAP_BLEND_RESUME 0x586420
#define KH_STRINGIFY(x) #x
#define KH_TO_STRING(x) KH_STRINGIFY(x)
static_assert(KH_MAP_BLEND_RESUME == host::site_map_blend + 6, "the two displaced instructions take six bytes");

namespace {

// The blend states of the map. Reached only from the entry below; its assembler name is
// fixed so that both builds' assemblers find it (no leading underscore on Windows).
KH_CDECL __attribute__((used)) void setMapBlendStates() asm("kellhud_set_map_blend_states");

KH_CDECL void setMapBlendStates()
{
    if (plugin.settings.bEnableBlendingMode)
        setHostRenderState(renderStateSourceBlend, 2);
    setHostRenderState(renderStateBlendEnable, 1);
}

} // namespace

// Every register and the flags are kept around the C++ call, so the host finds them as it
// left them; the stack is back where the host had it before the displaced load. The last
// two instructions go back to the host without touching the flags the test set. Naked: the
// compiler adds no frame of its own, in either build.
extern "C" __attribute__((naked)) void BeginMapBlend()
{
    asm(R"(
        pushal
        pushfl
        cld
        call kellhud_set_map_blend_states
        popfl
        popal
        movb 0x13(%esp), %al
        testb %al, %al
        pushl $)" KH_TO_STRING(KH_MAP_BLEND_RESUME) R"(
        ret
    )");
}
