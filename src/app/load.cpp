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

struct SpriteTablesLifetime {
    SpriteTablesLifetime() { constructSpriteTables(); }
    ~SpriteTablesLifetime() { destroySpriteTables(); }
} spriteTablesLifetime;

struct HostObjectRefCopy {
    HostObjectRefCopy() { hostObjectRef = host::object_ref_slot.get(); }
} hostObjectRefCopy;

} // namespace
