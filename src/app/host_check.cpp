#include "app/host_check.h"

#include <cstdio>
#include <cstring>

#include "hooks/host_events.h"
#include "host/host_table.h"
#include "injector/opcodes.h"
#include "platform/address.h"
#include "platform/win32.h"

const char* shapeExpectation(injector::Shape shape)
{
    switch (shape) {
    case injector::Shape::HostCall: return "a call into the game";
    case injector::Shape::HostJump: return "a jump into the game";
    case injector::Shape::ConditionalJump: return "a conditional short jump";
    case injector::Shape::Unchecked: break;
    }
    return "the game's own code";
}

namespace {

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

void checkHostPlaces(const PatchTables& tables, const injector::ByteSource& source, PlaceVisitor visit, void* context)
{
    auto site = [&](const char* name, uint32_t address, injector::Shape shape) {
        const injector::PatchRefusal refusal = injector::check_site(source, name, address, shape);
        CheckedPlace place{name, address, shape, nullptr, refusal.readable, {}, !refusal};
        std::memcpy(place.found, refusal.found, sizeof refusal.found);
        visit(place, context);
    };
    for (const EventSiteShape& event : eventSites)
        site(event.name, event.site, event.expected);

    for (const injector::PatchTable& table : tables.of)
        for (std::size_t i = 0; i < table.count; ++i)
            if (table.rows[i].applies)
                site(table.rows[i].name, table.rows[i].site, table.rows[i].expected);

    for (std::size_t i = 0; i < host::factCount; ++i) {
        const host::Fact& fact = host::facts[i];
        if (!fact.entry)
            continue;
        CheckedPlace place{fact.name, fact.address, injector::Shape::Unchecked, fact.entry, false, {}, false};
        place.readable = source(fact.address, place.found, sizeof place.found);
        if (!place.readable)
            std::memset(place.found, 0, sizeof place.found);
        place.holds = place.readable && host::entryHolds(*fact.entry, place.found);
        visit(place, context);
    }
}

HostVerdict checkHostBuild(const PatchTables& tables, const injector::ByteSource& source)
{
    HostVerdict verdict;
    for (std::size_t i = 0; i < host::factCount; ++i)
        verdict.routines += host::facts[i].kind == host::FactKind::Function;
    checkHostPlaces(
        tables, source,
        [](const CheckedPlace& place, void* context) {
            HostVerdict& verdict = *static_cast<HostVerdict*>(context);
            if (place.holds || verdict.site)
                return;
            if (!place.entry) {
                verdict.site.row = place.name;
                verdict.site.site = place.address;
                verdict.site.expected = place.shape;
                verdict.site.readable = place.readable;
                std::memcpy(verdict.site.found, place.found, sizeof verdict.site.found);
                return;
            }
            if (verdict.unconfirmed++ == 0) {
                verdict.firstUnconfirmed = place.name;
                verdict.firstUnconfirmedAt = place.address;
            }
        },
        &verdict);
    return verdict;
}

void describeRefusal(const HostVerdict& verdict, const char* module, char* text, unsigned size)
{
    if (verdict.unwritten) {
        std::snprintf(text, size,
                      verdict.restored
                          ? "The game would not let Kell Hud change its code at 0x%X (%s).\n\n"
                            "Kell Hud has not started and has changed nothing; the game keeps its own HUD."
                          : "The game would not let Kell Hud change its code at 0x%X (%s), nor put back all it had "
                            "changed before.\n\n"
                            "Kell Hud has not started, but part of the game's code stays changed: restart the game "
                            "without Kell Hud.",
                      verdict.unwritten.site, verdict.unwritten.row);
        return;
    }
    if (!verdict.site) {
        std::snprintf(text, size,
                      "This build of Kell Hud has not been matched to this game's code yet: %u of the %u game "
                      "routines it calls %s unconfirmed here, the first at 0x%X (%s).\n\n"
                      "Kell Hud has not started and has changed nothing; the game keeps its own HUD.",
                      verdict.unconfirmed, verdict.routines, verdict.unconfirmed == 1 ? "is" : "are",
                      verdict.firstUnconfirmedAt, verdict.firstUnconfirmed);
        return;
    }
    const injector::PatchRefusal& refusal = verdict.site;
    if (!refusal.readable) {
        std::snprintf(text, size,
                      "This game build is not the one Kell Hud supports: at 0x%X (%s) it expects %s, and the game "
                      "has no readable code there.\n\n"
                      "Kell Hud has not started and has changed nothing; the game keeps its own HUD.",
                      refusal.site, refusal.row, shapeExpectation(refusal.expected));
        return;
    }
    const uint8_t* b = refusal.found;
    if (module[0]) {
        std::snprintf(text, size,
                      "Another mod (%s) has already changed the game at 0x%X (%s), where Kell Hud expects %s.\n\n"
                      "Kell Hud has not started and has changed nothing; the game keeps its own HUD. "
                      "Remove one of the two mods to use the other.",
                      module, refusal.site, refusal.row, shapeExpectation(refusal.expected));
        return;
    }
    std::snprintf(text, size,
                  "This game build is not the one Kell Hud supports: at 0x%X (%s) it expects %s, and found "
                  "%02X %02X %02X %02X %02X.\n\n"
                  "Kell Hud has not started and has changed nothing; the game keeps its own HUD.",
                  refusal.site, refusal.row, shapeExpectation(refusal.expected), b[0], b[1], b[2], b[3], b[4]);
}

void reportRefusedHost(const HostVerdict& verdict)
{
    char module[128] = "";
    if (verdict.site)
        otherModule(verdict.site, module, sizeof module);
    char text[512];
    describeRefusal(verdict, module, text, sizeof text);
    MessageBoxA(nullptr, text, "Kell Hud", MB_OK);
}
