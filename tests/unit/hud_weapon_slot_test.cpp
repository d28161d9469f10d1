// A current slot number beyond the character's slot records: the host never has one, and
// the records after the last slot are not weapons, so nothing of them may be read.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "host_build.h"
#include "state/plugin.h"
#include "host/host.h"
#include "host_image.h"
#include "hud/weapon_ammo.h"
#include "trace.h"

namespace {

alignas(16) uint8_t character[0x800];

void putSlot(uint32_t number, int32_t type, int32_t clip, int32_t total)
{
    uint8_t* slot = character + host::character_weapon_slots + number * host::weapon_slot_size;
    std::memcpy(slot + host::weapon_slot_type, &type, 4);
    std::memcpy(slot + host::weapon_slot_ammo_clip, &clip, 4);
    std::memcpy(slot + host::weapon_slot_ammo_total, &total, 4);
    character[host::chosen::character_current_slot] = static_cast<uint8_t>(number);
}

std::vector<std::string> opsTraced()
{
    std::vector<std::string> ops;
    for (const sim::TraceEntry& e : sim::trace::entries())
        ops.push_back(e.op);
    return ops;
}

class WeaponSlots : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::buildHostImage();
        sim::trace::clear();
        std::memset(character, 0, sizeof character);
        plugin = HudPlugin{};
    }
};

TEST_F(WeaponSlots, LastSlotIsReadOneBeyondIsNot)
{
    putSlot(host::character_weapon_slot_count - 1, 24, 7, 50);
    DrawWeaponIcon(character, 0, 0, 10, 10);
    drawAmmo(character, 0, 0, 40, 0, plugin.hudState.ammoShown, plugin.layout.records[HUD_AMMO], ScreenScale{});
    std::vector<std::string> ops = opsTraced();
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "weapon_info"), 2);
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "character_weapon_skill"), 1);
    EXPECT_TRUE(plugin.hudState.ammoShown);

    sim::trace::clear();
    putSlot(host::character_weapon_slot_count, 24, 7, 50);
    DrawWeaponIcon(character, 0, 0, 10, 10);
    drawAmmo(character, 0, 0, 40, 0, plugin.hudState.ammoShown, plugin.layout.records[HUD_AMMO], ScreenScale{});
    ops = opsTraced();
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "weapon_info"), 0);
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "sprite_draw"), 0);
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "text_print_b"), 0);
    EXPECT_FALSE(plugin.hudState.ammoShown);
}

} // namespace
