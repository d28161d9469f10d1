#include "textures/texture_installer.h"

#include "state/plugin.h"
#include "core/plugin_path.h"
#include "host/host.h"
#include "injector/branch.h"
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

} // namespace

void installTextures()
{
    if (plugin.settings.bUseKellFonts) {
        injector::redirect_call(host::site_font_dictionary_load, &LoadKellFontDictionary);
        injector::redirect_call(host::site_font_data_open, &OpenKellFontData);
    }
    injector::redirect_call(host::site_blip_dictionary_load, &LoadKellBlipDictionary);
}
