#include "textures/texture_files.h"

#include "data/style_variant.h"

const char* radarDictionaryFile(int32_t vesk) { return styleFile("kell-hud\\textures", vesk, "radar.txd"); }

const char* fontDictionaryFile(int32_t vesk) { return styleFile("kell-hud\\textures", vesk, "fonts.txd"); }

const char* spriteTableFile(SpriteTableId table, int32_t vesk)
{
    switch (table) {
    case HUD_SPRITES: return "kell-hud\\textures\\hud.txd";
    case RADAR_RING_SPRITES: return radarDictionaryFile(vesk);
    case BLIP_LEVEL_SPRITES: return blipDictionaryFile;
    case WEAPON_SPRITES: return "kell-hud\\textures\\weapons.txd";
    case RADIO_SPRITES: return "kell-hud\\textures\\radio_hud.txd";
    case PROGRESS_BAR_SPRITES: return "kell-hud\\textures\\progress_bars.txd";
    default: return "";
    }
}
