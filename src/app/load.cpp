// The plug-in's only entry: static initialisation when the host loads the library. The
// objects below are constructed in this order and destroyed in the reverse order when the
// library is unloaded; keeping them in one file is what fixes that order.

#include "state/plugin.h"
#include "app/start_up.h"
#include "host/host.h"
#include "textures/sprite_tables.h"

namespace {

struct StartUpRun {
    StartUpRun()
    {
        // Nothing may propagate into the host's loader.
        try {
            startUp();
        } catch (...) {
        }
    }
} startUpRun;

// The sprite tables are made through the host's own routine, so only for a host whose code
// matched; and destroyed only if made.
struct SpriteTablesLifetime {
    bool constructed = false;
    SpriteTablesLifetime()
    {
        if (!hostMatched)
            return;
        constructSpriteTables();
        constructed = true;
    }
    ~SpriteTablesLifetime()
    {
        if (constructed)
            destroySpriteTables();
    }
} spriteTablesLifetime;

struct HostObjectRefCopy {
    HostObjectRefCopy()
    {
        if (hostMatched)
            hostObjectRef = host::object_ref_slot.get();
    }
} hostObjectRefCopy;

} // namespace
