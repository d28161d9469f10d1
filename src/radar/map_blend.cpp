#include "radar/map_blend.h"

#include "state/plugin.h"
#include "host/host.h"
#include "draw/render_state.h"

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
        setRenderState(RenderState::SourceBlend, blendOne);
    setRenderState(RenderState::BlendEnable, 1);
}

} // namespace

// Every register and the flags are kept around the C++ call, so the host finds them as it
// left them; the stack is back where the host had it before the displaced load. The last
// two instructions go back to the host without touching the flags the test set. Written as
// a top-level block, not a function body, so that no compiler (nor its sanitizers) puts an
// instruction of its own before the registers are saved. Top-level blocks come first in
// the object file, where the assembler is in .text; the block ends there too.
asm(R"(
    .text
    .globl kellhud_begin_map_blend
kellhud_begin_map_blend:
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
