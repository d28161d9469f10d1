#include "hud/player_info.h"

#include "state/plugin.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "draw/hud_style.h"
#include "hud/weapon_ammo.h"

// The host has two player records; an index outside them names none, and what lies
// beyond them is not a player record: no player then, rather than a wild character.
const void* currentPlayerRecord()
{
    uint32_t index = static_cast<uint32_t>(host::current_player_index.get());
    if (index >= host::player_record_count)
        return nullptr;
    return reinterpret_cast<const void*>(uintptr_t{host::player_records.address + index * host::player_record_size});
}

// The character pointer is the first field of a player record.
void* currentCharacter()
{
    const void* record = currentPlayerRecord();
    return record ? host::Field<0, void*>{}.of(record) : nullptr;
}

int32_t currentPlayerMoney()
{
    const void* record = currentPlayerRecord();
    return record ? host::Field<host::player_record_money, int32_t>{}.of(record) : 0;
}

void drawWeaponIconRow(void* character, LayoutRecord icon, float rowY)
{
    const LayoutBox& box = layoutOf(icon);
    const Vec2& offset = plugin.layout.playerInfoOffset;
    DrawWeaponIcon(character, screenWidth() - pixels(box.x + offset.x), pixels(rowY + offset.y), pixels(box.w),
                   pixels(box.h));
}

AmmoPlace ammoPlace(LayoutRecord ammo, float rowY)
{
    const LayoutBox& box = layoutOf(ammo);
    const Vec2& offset = plugin.layout.playerInfoOffset;
    float y = pixels(rowY + offset.y);
    float xClip = screenWidth() - pixels(box.x + offset.x);
    return {screenWidth() - pixels(box.x + offset.x + 40), y, xClip, y};
}

void drawCurrentWeaponIcon(void* character)
{
    drawWeaponIconRow(character, HUD_WEAPON_ICON, plugin.hudState.weaponIconY);
}

void drawCurrentAmmo(void* character)
{
    AmmoPlace at = ammoPlace(HUD_AMMO, plugin.hudState.ammoY);
    DrawAmmo(character, at.xTotal, at.y, at.xClip, at.yClip);
}
