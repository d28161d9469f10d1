#include "hud/weapon_ammo.h"

#include <algorithm>

#include "data/screen_unit.h"
#include "host/host.h"
#include "host/text_style.h"
#include "platform/address.h"
#include "draw/hud_style.h"
#include "hud/number_text.h"
#include "hud/weapon_icons.h"

namespace {

struct WeaponSlot {
    int32_t type, clip, total;
};

// The character's current weapon slot. False when there is no character or its current
// slot number lies beyond its slot records: then it holds no weapon the HUD can show.
bool readCurrentWeapon(const void* character, WeaponSlot& slot)
{
    if (!character)
        return false;
    uint8_t number = host::character_current_slot.of(character);
    if (number >= host::character_weapon_slot_count)
        return false;
    auto record = addressOf(character) + host::character_weapon_slots +
                  number * host::weapon_slot_size;
    slot.type = host::load<int32_t>(record + host::weapon_slot_type);
    slot.clip = host::load<int32_t>(record + host::weapon_slot_ammo_clip);
    slot.total = host::load<int32_t>(record + host::weapon_slot_ammo_total);
    return true;
}

// The host's weapon record of a type, or null for a type it keeps none for.
const void* weaponInfo(int32_t type, uint8_t skill)
{
    if (type < 0 || static_cast<uint32_t>(type) >= host::weapon_type_count)
        return nullptr;
    return host::weapon_info(type, skill);
}

// Only firearms and thrown weapons have a counter, and not the one of type 40.
bool hasCounter(int32_t type) { return type >= 16 && type <= 43 && type != 40; }

constexpr int32_t typeTenPerRound = 37; // counted in tens

struct AmmoTexts {
    bool twoNumbers;  // clip and reserve; otherwise only the total
    int32_t shownClip;
    char total[numberTextSize];
    char clip[numberTextSize];
};

// Clip sizes from 2 to 999 show the clip and the reserve; any other only the total.
AmmoTexts ammoTexts(const WeaponSlot& slot, int32_t clipSize)
{
    AmmoTexts texts{};
    texts.twoNumbers = clipSize >= 2 && clipSize <= 999;
    if (!texts.twoNumbers) {
        writeNumber(texts.total, sizeof texts.total, "", slot.total);
        return texts;
    }
    // In 64 bits: the difference of two host values may not fit in 32.
    int64_t reserve = int64_t{slot.total} - slot.clip;
    texts.shownClip = slot.clip;
    if (slot.type == typeTenPerRound) {
        reserve = reserve >= 100000 ? 9999 : reserve / 10;
        texts.shownClip = slot.clip / 10;
    } else {
        reserve = std::min<int64_t>(reserve, 9999);
    }
    writeNumber(texts.total, sizeof texts.total, "", reserve);
    writeNumber(texts.clip, sizeof texts.clip, "", texts.shownClip);
    return texts;
}

void setAmmoStyle()
{
    host::text_set_box(host::TextBox::None);
    host::text_set_align(host::Align::Right);
    host::text_set_proportional(true);
    host::text_set_justified(false);
    host::text_set_font(3);
    host::text_set_outline(1);
    host::text_set_second_colour(hudColour(HUD_COLOUR_BLACK, 255));
}

} // namespace

void drawAmmo(void* character, float xTotal, float y, float xClip, float yClip, bool& shown, const LayoutBox& size,
              const ScreenScale& unit)
{
    WeaponSlot slot{};
    int32_t clipSize = 0;
    if (readCurrentWeapon(character, slot)) {
        uint8_t skill = host::character_weapon_skill(character);
        if (const void* info = weaponInfo(slot.type, skill))
            clipSize = host::Field<host::weapon_info_clip_size, uint16_t>{}.of(info);
    }
    AmmoTexts texts = ammoTexts(slot, clipSize);

    // The style is set whether or not a counter follows.
    setAmmoStyle();
    if (!hasCounter(slot.type)) {
        shown = false;
        return;
    }

    // Keep the reserve clear of a clip number of one or of three digits.
    if (texts.twoNumbers) {
        if (texts.shownClip <= 9)
            xTotal += unit.pixels(16);
        if (texts.shownClip > 99)
            xTotal -= unit.pixels(22);
    } else {
        xTotal = xClip;
    }

    host::text_set_scale(unit.scale(size.w), unit.scale(size.h));
    host::text_set_colour(hudColour(HUD_COLOUR_AMMO_CLIP, 255));
    if (texts.twoNumbers)
        host::text_print_b(xClip, yClip, texts.clip);
    host::text_set_colour(hudColour(HUD_COLOUR_AMMO_TOTAL, 255));
    host::text_print_b(xTotal, y, texts.total);
    shown = true;
}

void DrawWeaponIcon(void* character, float x, float y, float w, float h)
{
    WeaponSlot slot;
    if (!readCurrentWeapon(character, slot))
        return;
    // The icon is the same at every skill.
    const void* info = weaponInfo(slot.type, 1);
    if (!info)
        return;
    Sprite* sprite = weaponIconSprite(host::weapon_info_model.of(info));
    if (!sprite)
        return;
    Rect rect;
    host::make_rect(&rect, x, y, x + w, y + h);
    Colour white = makeColour(255, 255, 255, 255);
    host::sprite_draw(sprite, &rect, &white);
}

int32_t currentWeaponModel(const void* character)
{
    WeaponSlot slot;
    if (!readCurrentWeapon(character, slot))
        return 0;
    const void* info = weaponInfo(slot.type, 1);
    return info ? host::weapon_info_model.of(info) : 0;
}
