#include <cstdio>
#include <filesystem>
#include <string>

#include "host/host.h"
#include "substitutes.h"
#include "text/utf8_path.h"
#include "textures.h"
#include "trace.h"

// The host's texture dictionaries and files. A call the real host would crash on (a slot
// that does not exist, a pop without a push) is reported on stderr, so that a fault in
// the plug-in's loading is never silent.

namespace sim {

namespace {

void complain(const std::string& what) { std::fprintf(stderr, "kellhud-sim: %s\n", what.c_str()); }

KH_CDECL int32_t txdAddSlot(const char* name)
{
    int32_t slot = addTextureSlot(name);
    trace::record("txd_add_slot", SIM_CALLER(), trace::args(trace::text(name)), slot);
    return slot;
}

KH_CDECL bool txdLoad(int32_t slot, const char* path)
{
    std::string file = hostFilePath(path);
    std::string error;
    bool loaded = loadTextureSlot(slot, file, error);
    trace::record("txd_load", SIM_CALLER(), trace::args(slot, trace::text(path)), loaded);
    // A missing file is the host's ordinary failure; a file that is there but does not
    // read is worth a word to whoever made it.
    if (!loaded && (!textureSlotInUse(slot) || std::filesystem::exists(utf8Path(file))))
        complain("txd_load into slot " + std::to_string(slot) + " of " + path + ": " + error);
    return loaded;
}

KH_CDECL void txdAddRef(int32_t slot)
{
    trace::record("txd_add_ref", SIM_CALLER(), trace::args(slot));
    if (!textureSlotInUse(slot))
        complain("txd_add_ref on slot " + std::to_string(slot) + ", which does not exist");
    addTextureSlotRef(slot);
}

KH_CDECL void txdPushCurrent()
{
    trace::record("txd_push_current", SIM_CALLER(), trace::args());
    pushCurrentDictionary();
}

KH_CDECL void txdSetCurrent(int32_t slot)
{
    trace::record("txd_set_current", SIM_CALLER(), trace::args(slot));
    if (!textureSlotInUse(slot))
        complain("txd_set_current on slot " + std::to_string(slot) + ", which does not exist");
    setCurrentDictionary(slot);
}

KH_CDECL void txdPopCurrent()
{
    trace::record("txd_pop_current", SIM_CALLER(), trace::args());
    if (!popCurrentDictionary())
        complain("txd_pop_current without a saved current dictionary");
}

KH_CDECL int32_t txdFindSlot(const char* name)
{
    int32_t slot = findTextureSlot(name);
    trace::record("txd_find_slot", SIM_CALLER(), trace::args(trace::text(name)), slot);
    return slot;
}

KH_CDECL void txdRemoveSlot(int32_t slot)
{
    trace::record("txd_remove_slot", SIM_CALLER(), trace::args(slot));
    if (!removeTextureSlot(slot))
        complain("txd_remove_slot on slot " + std::to_string(slot) + ", which does not exist");
}

KH_CDECL int32_t fileOpen(const char* path, const char* mode)
{
    std::string error;
    int32_t handle = openHostFile(hostFilePath(path), error);
    trace::record("file_open", SIM_CALLER(), trace::args(trace::text(path), trace::text(mode)), handle);
    // A missing file is the host's ordinary failure; a folder or a pipe in its place is not.
    if (!handle && !error.empty())
        complain("file_open of " + std::string(path) + ": " + error);
    return handle;
}

} // namespace

void registerTextureSubstitutes()
{
    // A new host image is a new host: nothing loaded yet.
    resetTextureDictionaries();
    substitute(host::txd_add_slot, &txdAddSlot);
    substitute(host::txd_load, &txdLoad);
    substitute(host::txd_add_ref, &txdAddRef);
    substitute(host::txd_push_current, &txdPushCurrent);
    substitute(host::txd_set_current, &txdSetCurrent);
    substitute(host::txd_pop_current, &txdPopCurrent);
    substitute(host::txd_find_slot, &txdFindSlot);
    substitute(host::txd_remove_slot, &txdRemoveSlot);
    substitute(host::file_open, &fileOpen);
}

} // namespace sim
