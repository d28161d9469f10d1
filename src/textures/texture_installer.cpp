#include "textures/texture_installer.h"

#include "state/plugin.h"
#include "core/plugin_path.h"
#include "host/host.h"
#include "injector/branch.h"
#include "injector/patch_table.h"
#include "textures/texture_files.h"

namespace {

// The host's own loads, each given the plug-in's file instead. They keep the host's
// calling convention and hand the host's result back unchanged.

KH_CDECL bool LoadKellFontDictionary(int32_t slot, const char* /*hostFile*/)
{
    return host::txd_load(slot, pluginPath(fontDictionaryFile(plugin.settings.iVesk)));
}

KH_CDECL int32_t OpenKellFontData(const char* /*hostFile*/, const char* /*mode*/)
{
    return host::file_open(pluginPath(fontDataFile), "rb");
}

KH_CDECL bool LoadKellBlipDictionary(int32_t slot, const char* /*hostFile*/)
{
    return host::txd_load(slot, pluginPath(blipDictionaryFile));
}

injector::PatchRow rows[3];
injector::PatchRecord records[3];

} // namespace

injector::PatchTable textureInstaller()
{
    using enum injector::PatchKind;
    using enum injector::Shape;
    using injector::routine_address;
    const bool fonts = plugin.settings.bUseKellFonts;
    const injector::PatchRow made[] = {
        {"site_font_dictionary_load", host::site_font_dictionary_load, Call, HostCall, routine_address(&LoadKellFontDictionary), fonts},
        {"site_font_data_open", host::site_font_data_open, Call, HostCall, routine_address(&OpenKellFontData), fonts},
        {"site_blip_dictionary_load", host::site_blip_dictionary_load, Call, HostCall, routine_address(&LoadKellBlipDictionary)},
    };
    return injector::make_table(made, rows, records);
}
