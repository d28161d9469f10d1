#include "app/host_check.h"

#include <cstdio>
#include <cstring>

#include "hooks/hook_map.h"
#include "hooks/host_events.h"
#include "hooks/option_patches.h"
#include "injector/opcodes.h"
#include "platform/address.h"
#include "platform/win32.h"
#include "textures/texture_installer.h"

namespace {

const char* expectation(injector::Shape shape)
{
    switch (shape) {
    case injector::Shape::HostCall: return "a call into the game";
    case injector::Shape::HostJump: return "a jump into the game";
    case injector::Shape::ConditionalJump: return "a conditional short jump";
    case injector::Shape::Unchecked: break;
    }
    return "the game's own code";
}

// The file name (without its folder) of the module a call or jump found at the site leads
// into, when it leads out of the game's image into a loaded module; empty otherwise.
void otherModule(const injector::PatchRefusal& refusal, char* name, unsigned size)
{
    name[0] = '\0';
    const uint8_t opcode = refusal.found[0];
    if (opcode != injector::opcode::call && opcode != injector::opcode::jump)
        return;
    uint32_t displacement;
    std::memcpy(&displacement, refusal.found + 1, sizeof displacement);
    const uint32_t target = refusal.site + 5 + displacement;
    if (target >= injector::hostImageBegin && target < injector::hostImageEnd)
        return;
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            pointerTo<LPCSTR>(target), &module) ||
        !module)
        return;
    char path[260];
    const DWORD length = GetModuleFileNameA(module, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    const char* base = path;
    for (const char* c = path; *c; ++c)
        if (*c == '\\' || *c == '/')
            base = c + 1;
    unsigned i = 0;
    for (; base[i] && i + 1 < size; ++i)
        name[i] = base[i];
    name[i] = '\0';
}

} // namespace

injector::PatchRefusal checkHostBuild(const HudSettings& settings)
{
    if (auto refused = checkEventSites())
        return refused;
    const injector::PatchTable always[] = {hudHookMap(), radarHookMap(), textureInstaller()};
    for (const injector::PatchTable& table : always)
        if (auto refused = injector::check_patches(table))
            return refused;
    const struct {
        bool on;
        injector::PatchTable (*table)();
    } options[] = {{settings.bUseKellFonts, &fontPatches},
                   {settings.bKellMarkers, &markerPatches},
                   {settings.bKellOnFootCamera, &onFootCameraPatches},
                   {settings.bKellVehicleCamera, &vehicleCameraPatches}};
    for (const auto& option : options)
        if (option.on)
            if (auto refused = injector::check_patches(option.table()))
                return refused;
    return {};
}

void describeRefusal(const injector::PatchRefusal& refusal, char* text, unsigned size)
{
    const uint8_t* b = refusal.found;
    char module[128];
    otherModule(refusal, module, sizeof module);
    if (module[0]) {
        std::snprintf(text, size,
                      "Another mod (%s) has already changed the game at 0x%X (%s), where Kell Hud expects %s.\n\n"
                      "Kell Hud has not started and has changed nothing; the game keeps its own HUD. "
                      "Remove one of the two mods to use the other.",
                      module, refusal.site, refusal.row, expectation(refusal.expected));
        return;
    }
    std::snprintf(text, size,
                  "This game build is not the one Kell Hud supports: at 0x%X (%s) it expects %s, and found "
                  "%02X %02X %02X %02X %02X.\n\n"
                  "Kell Hud has not started and has changed nothing; the game keeps its own HUD.",
                  refusal.site, refusal.row, expectation(refusal.expected), b[0], b[1], b[2], b[3], b[4]);
}

void reportRefusedHost(const injector::PatchRefusal& refusal)
{
    char text[512];
    describeRefusal(refusal, text, sizeof text);
    MessageBoxA(nullptr, text, "Kell Hud", MB_OK);
}
