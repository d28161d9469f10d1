#include "host_renderer_start.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "host/host.h"
#include "host_image.h"
#include "host_sites.h"
#include "image_writer.h"
#include "scenario.h"
#include "text/printable.h"
#include "textures.h"

namespace sim {

namespace {

// The host's texts the start path passes, in host data.
constexpr uint32_t fontSlotNameText = 0xCFE000;
constexpr uint32_t fontDictionaryText = 0xCFE010;
constexpr uint32_t fontDataText = 0xCFE030;
constexpr uint32_t readBinaryText = 0xCFE050;
constexpr uint32_t blipSlotNameText = 0xCFE060;
constexpr uint32_t blipDictionaryText = 0xCFE070;
static_assert(fontDictionaryText - fontSlotNameText > sizeof "fonts");

// Code before each site: the pushes of the site's arguments (and, for the dictionaries,
// the making of the slot they load into).
constexpr uint32_t dictionaryLoadPrologue = 5 + 5 + 3 + 5 + 5 + 1;
constexpr uint32_t fontDataOpenPrologue = 5 + 5;
constexpr uint32_t startPathPrologue = 3 * 5;

uint32_t codeAddress(const void* function) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(function)); }

void writeText(uint32_t address, const char* text) { hostWrite(address, text, static_cast<uint32_t>(std::strlen(text) + 1)); }

Sprite* fontSprite(uint32_t index) { return reinterpret_cast<Sprite*>(uintptr_t{hostFontSprites + 4 * index}); }

// The rest of the host's font set-up: its font sprites take their sheets from the slot.
KH_CDECL void bindFontSprites()
{
    int32_t slot = host::load<int32_t>(hostFontSlot);
    host::txd_add_ref(slot);
    host::txd_push_current();
    host::txd_set_current(slot);
    for (uint32_t i = 0; i < host::chosen::font_texture_count; ++i)
        host::sprite_set_texture(fontSprite(i), host::chosen::font_texture_names[i]);
    host::txd_pop_current();
}

// The host's font reader: one line per font sheet, its name and 96 glyph widths.
KH_CDECL void readFontData(int32_t handle)
{
    host::store<int32_t>(hostFontDataHandle, handle);
    std::string content, error;
    bool read = readHostFile(handle, content, error);
    closeHostFile(handle);
    if (!read) {
        if (handle) // 0: the open failed, and said why if it was more than a missing file
            std::fprintf(stderr, "kellhud-sim: font data: %s\n", error.c_str());
        return;
    }
    std::istringstream lines(content);
    int sheets = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string name;
        int width = 0, widths = 0;
        fields >> name;
        while (fields >> width && width > 0 && width <= 64)
            ++widths;
        if (widths != 96 || !fields.eof()) {
            std::fprintf(stderr, "kellhud-sim: font data line for \"%s\" does not hold 96 glyph widths of 1 to 64\n",
                         printable(name).c_str());
            return;
        }
        ++sheets;
    }
    if (sheets != static_cast<int>(host::chosen::font_texture_count))
        std::fprintf(stderr, "kellhud-sim: font data holds %d font sheets, not %u\n", sheets,
                     host::chosen::font_texture_count);
}

// The host's blip sprites: radar_sprites[id] takes the texture named for id from the slot.
KH_CDECL void fillRadarSprites()
{
    int32_t slot = host::load<int32_t>(hostBlipSlot);
    host::txd_add_ref(slot);
    host::txd_push_current();
    host::txd_set_current(slot);
    for (uint32_t id = 1; id < host::chosen::radar_sprite_name_count; ++id)
        host::sprite_set_texture(reinterpret_cast<Sprite*>(uintptr_t{host::radar_sprites.address + 4 * id}),
                                 host::chosen::radar_sprite_names[id]);
    host::txd_pop_current();
}

// push name; call txd_add_slot; add esp, 4; mov [slot], eax; push file; push eax;
// site: call txd_load; add esp, 8; call then; ret
void writeDictionaryLoad(ImageWriter& image, uint32_t site, uint32_t nameText, uint32_t fileText, uint32_t slot,
                         const void* then, const char* what)
{
    X86 code(site - dictionaryLoadPrologue);
    code.pushImm(nameText).call(host::txd_add_slot.address).addEsp(4).storeEax(slot).pushImm(fileText).pushEax();
    if (code.here() != site)
        std::abort();
    code.call(host::txd_load.address).addEsp(8).call(codeAddress(then)).ret();
    image.write(site - dictionaryLoadPrologue, code, what);
}

} // namespace

void writeRendererStartPath(ImageWriter& image)
{
    writeText(fontSlotNameText, host::chosen::font_slot_name);
    writeText(fontDictionaryText, host::chosen::font_dictionary_file);
    writeText(fontDataText, host::chosen::font_data_file);
    writeText(readBinaryText, "rb");
    writeText(blipSlotNameText, host::chosen::blip_slot_name);
    writeText(blipDictionaryText, host::chosen::blip_dictionary_file);

    writeDictionaryLoad(image, host::site_font_dictionary_load, fontSlotNameText, fontDictionaryText, hostFontSlot,
                        reinterpret_cast<const void*>(&bindFontSprites), "font dictionary load");
    writeDictionaryLoad(image, host::site_blip_dictionary_load, blipSlotNameText, blipDictionaryText, hostBlipSlot,
                        reinterpret_cast<const void*>(&fillRadarSprites), "blip dictionary load");

    // push "rb"; push file; site: call file_open; add esp, 8; push eax; call read; add esp, 4; ret
    X86 fontData(host::site_font_data_open - fontDataOpenPrologue);
    fontData.pushImm(readBinaryText).pushImm(fontDataText).call(host::file_open.address).addEsp(8);
    fontData.pushEax().call(codeAddress(reinterpret_cast<const void*>(&readFontData))).addEsp(4).ret();
    image.write(host::site_font_data_open - fontDataOpenPrologue, fontData, "font data open");

    // The start path runs into the renderer-started event site, which ends it.
    X86 start(host::site_renderer_start - startPathPrologue);
    start.call(host::site_font_dictionary_load - dictionaryLoadPrologue)
        .call(host::site_font_data_open - fontDataOpenPrologue)
        .call(host::site_blip_dictionary_load - dictionaryLoadPrologue);
    image.write(host::site_renderer_start - startPathPrologue, start, "renderer start path");
}

uint32_t rendererStartLoads() { return host::site_renderer_start - startPathPrologue; }

void reachRendererEvents(const Scenario& scenario, int frame)
{
    for (const RendererEvent& event : scenario.renderer) {
        if (event.frame != frame)
            continue;
        if (event.start)
            reachRendererStartPath();
        else
            reachRendererShutdown();
    }
}

} // namespace sim
