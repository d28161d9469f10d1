#include "hud/player_info.h"

#include "data/placement.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "platform/address.h"
#include "draw/hud_style.h"
#include "hud/weapon_ammo.h"

// The host has two player records; an index outside them names none, and what lies
// beyond them is not a player record: no player then, rather than a wild character.
const void* currentPlayerRecord()
{
    uint32_t index = static_cast<uint32_t>(host::current_player_index.get());
    if (index >= host::player_record_count)
        return nullptr;
    return pointerTo<const void*>(host::player_records.address + index * host::player_record_size);
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

void drawWeaponIconRow(void* character, const HudLayout& layout, LayoutRecord icon, float rowY, const ScreenScale& unit)
{
    const LayoutBox& box = layout.records[icon];
    const Vec2& offset = layout.playerInfoOffset;
    const Shift shift = shiftOf(layout, icon, unit);
    DrawWeaponIcon(character, shift.atX(unit.width - unit.pixels(box.x + offset.x)),
                   shift.atY(unit.pixels(rowY + offset.y)), unit.pixels(box.w), unit.pixels(box.h));
}

AmmoPlace ammoPlace(const HudLayout& layout, LayoutRecord ammo, float rowY, const ScreenScale& unit)
{
    const LayoutBox& box = layout.records[ammo];
    const Vec2& offset = layout.playerInfoOffset;
    const Shift shift = shiftOf(layout, ammo, unit);
    float y = shift.atY(unit.pixels(rowY + offset.y));
    float xClip = shift.atX(unit.width - unit.pixels(box.x + offset.x));
    return {shift.atX(unit.width - unit.pixels(box.x + offset.x + 40)), y, xClip, y};
}

void drawCurrentWeaponIcon(void* character, const HudLayout& layout, const HudElementState& state,
                           const ScreenScale& unit)
{
    drawWeaponIconRow(character, layout, HUD_WEAPON_ICON, state.weaponIconY, unit);
}

void drawCurrentAmmo(void* character, const HudLayout& layout, HudElementState& state, const ScreenScale& unit)
{
    AmmoPlace at = ammoPlace(layout, HUD_AMMO, state.ammoY, unit);
    drawAmmo(character, at.xTotal, at.y, at.xClip, at.yClip, state.ammoShown, layout.records[HUD_AMMO], unit);
}
