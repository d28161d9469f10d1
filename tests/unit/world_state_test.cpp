// The scenario's world: how entries combine over frames, what a bad entry reports, and
// what the host's memory and world operations answer once it is written.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

#include "host/host.h"
#include "host_build.h"
#include "host_frame.h"
#include "host_image.h"
#include "host_records.h"
#include "scenario.h"
#include "world_scenario.h"
#include "trace.h"

namespace {

sim::Scenario parse(const std::string& world) { return parseWorld(world); }
std::string errorOf(const std::string& world) { return worldErrorOf(world); }

TEST(WorldScenario, AFieldGivenReplacesThatFieldWholeFromItsFrameOn)
{
    sim::Scenario s = parse(R"([
        {"frame": 2, "pad": {"weapon_a": true, "cash": 3}, "players": [{"money": 5}, {"skill": 2}],
         "zone_name": {"text": "Ganton", "shown": true}},
        {"frame": 5, "pad": {"ammo": true}, "vehicle_name": {"text": "Bus", "states": [0, 7]}},
        {"frame": 5, "current_player": 1}])");
    EXPECT_FALSE(s.worldAt(1).pad.weaponA); // defaults before the first entry
    EXPECT_FALSE(s.worldAt(1).players[1].has_value());
    EXPECT_TRUE(s.worldAt(4).pad.weaponA);
    EXPECT_EQ(s.worldAt(4).pad.cash, 3);
    EXPECT_EQ(s.worldAt(4).players[1]->skill, 2);
    EXPECT_EQ(s.worldAt(4).zoneName.states[0], 1);
    EXPECT_EQ(s.worldAt(4).zoneName.colour.a, 255);

    const sim::WorldState& later = s.worldAt(9);
    EXPECT_FALSE(later.pad.weaponA); // replaced whole: the subfields left out are defaults
    EXPECT_EQ(later.pad.cash, 0);
    EXPECT_TRUE(later.pad.ammo);
    EXPECT_EQ(later.players[0]->money, 5); // not named again: kept
    EXPECT_EQ(later.zoneName.text, "Ganton");
    EXPECT_FALSE(later.vehicleName.shown);
    EXPECT_EQ(later.vehicleName.states[0], 0);
    EXPECT_EQ(later.vehicleName.states[1], 7);
    EXPECT_EQ(later.currentPlayer, 1); // a second entry for the same frame adds to it
}

TEST(WorldScenario, BadEntriesNameTheEntryAndTheField)
{
    const std::pair<const char*, const char*> cases[] = {
        {R"({"frame": 1})", "world: must be a list"},
        {R"([{"pad": {}}])", "world[0]: an entry needs its \"frame\""},
        {R"([{"frame": 3}, {"frame": 2}])", "world[1].frame: entries must be in frame order"},
        {R"([{"frame": 0}])", "world[0].frame: must be a whole number from 1"},
        {R"([{"frame": 1}, {"frame": 1, "players": [null, {"weapon": {"slot": 13}}]}])",
         "world[1].players[1].weapon.slot: must be a whole number from 0 to 12"},
        {R"([{"frame": 1, "players": [{}, null, {}]}])", "world[0].players: must be a list of 0 to 2"},
        {R"([{"frame": 1, "current_player": 2147483648}])", "world[0].current_player: must be a whole number from"},
        {R"([{"frame": 1, "weapon_info": [{"clip_size": 7}]}])", "world[0].weapon_info[0].type: missing"},
        {R"([{"frame": 1, "weapon_info": [{"type": 1, "clip_size": 70000}]}])",
         "world[0].weapon_info[0].clip_size: must be a whole number from 0 to 65535"},
        {R"([{"frame": 1, "pad": {"ammo": 1}}])", "world[0].pad.ammo: must be true or false"},
        {R"([{"frame": 1, "pad": {"cash": 40000}}])", "world[0].pad.cash: must be a whole number from -32768"},
        {R"([{"frame": 1, "zone_name": {"colour": [1, 2, 3]}}])", "world[0].zone_name.colour: must be a list of 4"},
        {R"([{"frame": 1, "zone_name": {"colour": [1, 2, 3, 256]}}])", "world[0].zone_name.colour[3]: must be"},
        {R"([{"frame": 1, "vehicle_name": {"text": 5}}])", "world[0].vehicle_name.text: must be a text"},
        {R"([{"frame": 1, "wanted": {"stars": -1}}])", "world[0].wanted.stars: must be a whole number from 0"},
        {R"([{"frame": 1, "wanted": {"star": 1}}])", "world[0].wanted.star: unknown field"},
        {R"([{"frame": 1, "block": [0, 0]}])", "world[0].block: must be a list of 3"},
        {R"([{"frame": 1, "players": [{"money": 2147483648}]}])", "world[0].players[0].money: must be"},
        {R"([{"frame": 1, "players": [{"health": "full"}]}])",
         "world[0].players[0].health: must be a number, \"nan\", \"inf\" or \"-inf\""},
        {R"([{"frame": 1, "players": [{"vehicle": {"matrix": [1]}}]}])",
         "world[0].players[0].vehicle.matrix: must be a list of 2"},
        {R"([{"frame": 1, "players": [{"position": [1, 2]}]}])", "world[0].players[0].position: must be a list of 3"},
        {R"([{"frame": 1, "players": [{"max_health": 256}]}])", "world[0].players[0].max_health: must be"},
        {R"([{"frame": 1, "pads": {}}])",
         "world[0].pads: unknown field; the fields here are frame, current_player, players, weapon_info, wanted, "
         "alt_clock_offset_ms, zone_name, vehicle_name, pad, block, damage_ms, radar_mode, language, breath_limit, "
         "target, route, device, blips, map_view, map_blend_byte, map_flag, player_character_0, help, subtitle, "
         "mission_text, text_boxes, time_step, clock, stats, host_bars, markers, camera_calls, text_code, radio, "
         "camera"},
        // An unknown field is named before a missing type.
        {R"([{"frame": 1, "weapon_info": [{"skin": 1}]}])", "world[0].weapon_info[0].skin: unknown field"},
        {R"([{"frame": 1, "player_character_0": 2}])", "world[0].player_character_0: must be a whole number from 0 to 1"},
        {R"([{"frame": 1, "text_boxes": [{"site": "c"}]}])", "world[0].text_boxes[0].site: must be \"a\" or \"b\""},
        {R"([{"frame": 1, "text_boxes": [{"site": 1}]}])", "world[0].text_boxes[0].site: must be a text"},
        {R"([{"frame": 1, "help": {"blocks": [true, 1, false]}}])", "world[0].help.blocks[1]: must be true or false"},
    };
    for (const auto& [world, message] : cases)
        EXPECT_NE(errorOf(world).find(std::string("scenario: ") + message), std::string::npos)
            << world << "\n  gave: " << errorOf(world);
    std::string tooLong(64, 'x');
    EXPECT_NE(errorOf(R"([{"frame": 1, "zone_name": {"text": ")" + tooLong + R"("}}])").find("zone_name.text"),
              std::string::npos);
    EXPECT_EQ(errorOf(R"([{"frame": 1, "zone_name": {"text": ")" + tooLong.substr(1) + R"("}}])"), "no error");
}

template <class T>
T at(uint32_t address)
{
    T value;
    std::memcpy(&value, reinterpret_cast<const void*>(uintptr_t{address}), sizeof value);
    return value;
}

class WorldInHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::buildHostImage();
        sim::trace::clear();
        sim::Scenario s = parse(R"([{"frame": 1, "current_player": 1,
            "players": [{"money": -250, "skill": 2, "weapon": {"slot": 12, "type": 31, "clip": 7, "total": 50}},
                        {"money": 9, "skill": 1}],
            "weapon_info": [{"type": 31, "clip_size": 30, "model": 356},
                            {"type": 31, "skill": 2, "clip_size": 50, "model": 357},
                            {"type": 24, "skill": 1, "clip_size": 7, "model": 348}],
            "wanted": {"stars": 7, "changed_ms": 4000},
            "alt_clock_offset_ms": -10,
            "zone_name": {"text": "Ganton", "shown": true},
            "vehicle_name": {"text": "Bus", "states": [1, 0]},
            "pad": {"weapon_b": true, "cash": -2},
            "block": [0, 3, 255]}])");
        sim::hostWrite<uint32_t>(host::time_ms.address, 5);
        sim::writeWorld(s.worldAt(1));
    }
    static uint32_t character(int i) { return sim::records::character(i); }
};

TEST_F(WorldInHost, PlayersAndTheirCharactersLieWhereTheHostKeepsThem)
{
    EXPECT_EQ(host::current_player_index.get(), 1);
    uint32_t record1 = host::player_records.address + host::player_record_size;
    EXPECT_EQ(at<uint32_t>(host::player_records.address), character(0));
    EXPECT_EQ(at<uint32_t>(record1), character(1));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(host::second_player_character.get()), character(1));
    EXPECT_EQ(at<int32_t>(host::player_records.address + host::player_record_money), -250);
    EXPECT_EQ(at<int32_t>(record1 + host::player_record_money), 9);

    uint32_t slot = character(0) + host::character_weapon_slots + 12 * host::weapon_slot_size;
    EXPECT_EQ(at<uint8_t>(character(0) + host::character_current_slot.offset), 12);
    EXPECT_EQ(at<int32_t>(slot + host::weapon_slot_type), 31);
    EXPECT_EQ(at<int32_t>(slot + host::weapon_slot_ammo_clip), 7);
    EXPECT_EQ(at<int32_t>(slot + host::weapon_slot_ammo_total), 50);
    EXPECT_EQ(at<int32_t>(character(0) + host::character_weapon_slots), 0); // slot 0 empty
}

TEST_F(WorldInHost, ClockNamesPadAndBlockFlags)
{
    EXPECT_EQ(host::time_ms_alt.get(), 0xFFFFFFFBu); // 5 - 10, wrapping
    EXPECT_STREQ(reinterpret_cast<const char*>(host::zone_name_text.pointer()), "Ganton");
    EXPECT_EQ(host::zone_name_state_a.get(), 1);
    EXPECT_EQ(host::zone_name_state_b.get(), 1);
    EXPECT_STREQ(reinterpret_cast<const char*>(host::vehicle_name_text.pointer()), "Bus");
    EXPECT_EQ(host::vehicle_name_state_a.get(), 1);
    EXPECT_EQ(host::vehicle_name_state_b.get(), 0);
    EXPECT_EQ(host::hud_block_flag_a.get(), 0);
    EXPECT_EQ(host::hud_block_flag_b.get(), 3);
    EXPECT_EQ(host::hud_block_flag_c.get(), 255);

    void* pad = host::pad_get(0);
    EXPECT_EQ(host::pad_cash_cue_field.of(pad), -2);
    EXPECT_FALSE(host::pad_weapon_cue_a(pad));
    EXPECT_TRUE(host::pad_weapon_cue_b(pad));
    EXPECT_FALSE(host::pad_ammo_cue(pad));

    void* wanted = host::player_wanted(0);
    EXPECT_EQ(at<uint32_t>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(wanted)) + host::wanted_star_count), 7u);
    EXPECT_EQ(at<uint32_t>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(wanted)) + host::wanted_change_time),
              4000u);
}

TEST_F(WorldInHost, WeaponRecordsAndSkillsAnswerAsTheHostDoes)
{
    auto clipSize = [](int32_t type, uint8_t skill) {
        void* record = host::weapon_info(type, skill);
        return at<uint16_t>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(record)) + host::weapon_info_clip_size);
    };
    EXPECT_EQ(clipSize(31, 2), 50);  // the entry of that skill
    EXPECT_EQ(clipSize(31, 1), 30);  // else the one without a skill
    EXPECT_EQ(clipSize(24, 2), 0);   // no entry without a skill: zeros
    EXPECT_EQ(clipSize(99, 1), 0);
    EXPECT_EQ(host::weapon_info_model.of(host::weapon_info(31, 2)), 357);
    EXPECT_EQ(host::weapon_info_model.of(host::weapon_info(24, 1)), 348);

    void* first = reinterpret_cast<void*>(uintptr_t{character(0)});
    void* second = reinterpret_cast<void*>(uintptr_t{character(1)});
    EXPECT_EQ(host::character_weapon_skill(first), 2);
    EXPECT_EQ(host::character_weapon_skill(second), 1);
    EXPECT_EQ(host::character_weapon_skill(nullptr), 0);

    const auto& entries = sim::trace::entries();
    ASSERT_GE(entries.size(), 1u);
    EXPECT_EQ(entries[0].op, "weapon_info");
    EXPECT_EQ(entries[0].args, nlohmann::json::parse("[31,2]"));
}

TEST_F(WorldInHost, RadarFieldsOfPlayersTheirVehiclesAndTheMenu)
{
    sim::writeWorld(parse(R"([{"frame": 1, "current_player": 1, "damage_ms": 9300, "radar_mode": 2, "language": 4,
        "breath_limit": 1500,
        "players": [{"health": "nan", "armour": "-inf", "max_health": 0, "max_armour": 150, "state_flags": 256,
                     "breath": 750, "position": [1.5, -2, 3]},
                    {"health": 20, "vehicle": {"type": 4, "matrix": [0.5, "inf"]}}]}])")
                        .worldAt(1));
    uint32_t record0 = host::player_records.address;
    EXPECT_EQ(at<uint8_t>(record0 + host::player_record_max_health), 0);
    EXPECT_EQ(at<uint8_t>(record0 + host::player_record_max_armour), 150);
    EXPECT_TRUE(std::isnan(at<float>(character(0) + host::character_health.offset)));
    EXPECT_EQ(at<float>(character(0) + host::character_armour.offset), -INFINITY);
    EXPECT_EQ(at<uint32_t>(character(0) + host::character_state_flags.offset), 256u);
    uint32_t data = at<uint32_t>(character(0) + host::character_player_data.offset);
    EXPECT_EQ(at<float>(data + host::player_data_breath), 750.0f);
    EXPECT_EQ(at<uint32_t>(character(0) + host::character_vehicle.offset), 0u);
    EXPECT_EQ(at<uint32_t>(character(0) + host::character_vehicle_flags.offset), 0u);

    uint32_t vehicle = at<uint32_t>(character(1) + host::character_vehicle.offset);
    ASSERT_NE(vehicle, 0u);
    EXPECT_EQ(at<uint32_t>(character(1) + host::character_vehicle_flags.offset), 0x100u);
    EXPECT_EQ(at<int32_t>(vehicle + host::vehicle_type.offset), 4);
    uint32_t matrix = at<uint32_t>(vehicle + host::vehicle_matrix.offset);
    EXPECT_EQ(at<float>(matrix + host::matrix_right_z), 0.5f);
    EXPECT_EQ(at<float>(matrix + host::matrix_up_z), INFINITY);

    EXPECT_EQ(host::player_damage_time.get(), 9300u);
    EXPECT_EQ(at<int32_t>(host::menu_state.address + host::menu_radar_mode), 2);
    EXPECT_EQ(at<uint8_t>(host::menu_state.address + host::menu_language), 4);

    // Player -1 is the current one (1 here): its character and vehicle; player 0 has none.
    EXPECT_EQ(reinterpret_cast<uintptr_t>(host::player_character(-1)), character(1));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(host::player_character(0)), character(0));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(host::player_vehicle(-1, 0)), vehicle);
    EXPECT_EQ(host::player_vehicle(0, 0), nullptr);
    Vec3 p{};
    EXPECT_EQ(host::player_position(&p, 0), &p);
    EXPECT_EQ(p.x, 1.5f);
    EXPECT_EQ(p.y, -2.0f);
    EXPECT_EQ(p.z, 3.0f);
    EXPECT_EQ(host::stat_limit(8), 1500.0f);
}

TEST_F(WorldInHost, AnEmptyPlayerRecordHasNoCharacter)
{
    sim::writeWorld(parse(R"([{"frame": 1, "players": [null]}])").worldAt(1));
    EXPECT_EQ(at<uint32_t>(host::player_records.address), 0u);
    EXPECT_EQ(host::second_player_character.get(), nullptr);
    EXPECT_EQ(at<int32_t>(host::player_records.address + host::player_record_money), 0);
    EXPECT_EQ(host::player_character(0), nullptr);
    EXPECT_EQ(host::player_vehicle(-1, 0), nullptr);
}

} // namespace
