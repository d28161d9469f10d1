#pragma once

#include <cstdint>

#include "hooks/patch_sets.h"
#include "host/chosen_addresses.h"
#include "injector/byte_source.h"
#include "injector/patch_table.h"

// Before the plug-in calls anything in the host or writes one byte of it, it looks at every
// place it depends on, in this order: every site it would patch with these settings (the
// event sites, then the tables made for them, in the order of patchSets), then
// the entry of every host routine at an address of ours. Patching another build of the
// game, or code another mod has already changed, would overwrite unrelated code, and calling
// a routine that is not there would crash the game: one wrong place refuses everything.
// The tools run the same check over a game's executable file.

// One place the check looks at.
struct CheckedPlace {
    const char* name;
    uint32_t address;
    injector::Shape shape;            // a site: what it must hold (Unchecked: not looked at)
    const host::chosen::Entry* entry; // a routine at an address of ours: what its entry must hold
    bool readable;
    uint8_t found[host::chosen::entry_size]; // what was read: 5 bytes at a site
    bool holds;
};

using PlaceVisitor = void (*)(const CheckedPlace& place, void* context);

// Visits every place, in the order above, reading only through `source`.
void checkHostPlaces(const PatchTables& tables, const injector::ByteSource& source, PlaceVisitor visit, void* context);

// What the check found: the first site that differs (nothing after it counts), or else the
// routines whose entry differs; or, once the host matched, the first patch the game would
// not let the start-up write.
struct HostVerdict {
    injector::PatchRefusal site;
    unsigned unconfirmed = 0;     // routines at addresses of ours whose entry differs
    unsigned routines = 0;        // host routines the plug-in calls, in all
    const char* firstUnconfirmed = nullptr;
    uint32_t firstUnconfirmedAt = 0;
    injector::PatchFailure unwritten;
    bool restored = true; // false: some of what was written before it could not be put back

    bool refused() const { return site || unconfirmed > 0 || unwritten; }
};

[[nodiscard]] HostVerdict checkHostBuild(const PatchTables& tables, const injector::ByteSource& source);

// Tells the player, once, that the plug-in has not started and why: the site and what stood
// there (and the module another mod's call leads into, where one is found), the routine, or
// the patch that could not be written.
void reportRefusedHost(const HostVerdict& verdict);

// The message itself, into a buffer of `size` bytes (cut to fit); `otherModule` names the
// module a site's call leads into, or is empty.
void describeRefusal(const HostVerdict& verdict, const char* otherModule, char* text, unsigned size);

// What a site of this shape must hold, in the messages' words.
const char* shapeExpectation(injector::Shape shape);
