#include "textures/texture_files.h"

namespace {

const char* byStyle(int32_t vesk, const char* base, const char* mora, const char* sabel)
{
    switch (vesk) {
    case 1: return mora;
    case 2: return sabel;
    default: return base;
    }
}

} // namespace

const char* radarDictionaryFile(int32_t vesk)
{
    return byStyle(vesk, "kell-hud\\textures\\radar.txd", "kell-hud\\textures\\mora\\radar.txd",
                   "kell-hud\\textures\\sabel\\radar.txd");
}

const char* fontDictionaryFile(int32_t vesk)
{
    return byStyle(vesk, "kell-hud\\textures\\fonts.txd", "kell-hud\\textures\\mora\\fonts.txd",
                   "kell-hud\\textures\\sabel\\fonts.txd");
}

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
