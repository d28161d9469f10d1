#include "host/host.h"
#include "host_frame.h"
#include "host_records.h"
#include "substitutes.h"
#include "trace.h"

// The host's players, pads, weapons and wanted level, from the scenario's world.

namespace sim {

namespace {

void* pointer(uint32_t address) { return reinterpret_cast<void*>(uintptr_t{address}); }
uint32_t address(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

// One wanted record for the local player, whichever player is asked about; none while
// the scenario gives none.
KH_CDECL void* playerWanted(int32_t player)
{
    trace::record("player_wanted", SIM_CALLER(), trace::args(player));
    return currentWorld().noWanted ? nullptr : pointer(records::wanted);
}

KH_CDECL void* padGet(int32_t pad)
{
    trace::record("pad_get", SIM_CALLER(), trace::args(pad));
    return currentWorld().noPad ? nullptr : pointer(records::pad);
}

KH_THISCALL bool padWeaponCueA(void* pad)
{
    trace::record("pad_weapon_cue_a", SIM_CALLER(), trace::args());
    checkPad(pad, "pad_weapon_cue_a");
    return currentWorld().pad.weaponA;
}

KH_THISCALL bool padWeaponCueB(void* pad)
{
    trace::record("pad_weapon_cue_b", SIM_CALLER(), trace::args());
    checkPad(pad, "pad_weapon_cue_b");
    return currentWorld().pad.weaponB;
}

KH_THISCALL bool padAmmoCue(void* pad)
{
    trace::record("pad_ammo_cue", SIM_CALLER(), trace::args());
    checkPad(pad, "pad_ammo_cue");
    return currentWorld().pad.ammo;
}

// The character is the only argument, so the trace keeps its address: records::character
// of player 0 or 1.
KH_THISCALL uint8_t characterWeaponSkill(void* character)
{
    trace::record("character_weapon_skill", SIM_CALLER(), trace::args(address(character)));
    for (int i = 0; i < 2; ++i) {
        const auto& player = currentWorld().players[static_cast<size_t>(i)];
        if (player && address(character) == records::character(i))
            return player->skill;
    }
    return 0;
}

// The record of that type and skill, else the one of that type given without a skill,
// else a record of zeros.
KH_CDECL void* weaponInfo(int32_t type, uint8_t skill)
{
    trace::record("weapon_info", SIM_CALLER(), trace::args(type, skill));
    const auto& list = currentWorld().weaponInfo;
    size_t found = list.size();
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].type != type)
            continue;
        if (list[i].skill == skill) {
            found = i;
            break;
        }
        if (!list[i].skill && found == list.size())
            found = i;
    }
    return pointer(records::weaponRecords + static_cast<uint32_t>(found) * records::weaponRecordSize);
}

// Player -1 is the current player.
const std::optional<PlayerState>* playerOf(int32_t player)
{
    const WorldState& world = currentWorld();
    int32_t index = player == -1 ? world.currentPlayer : player;
    if (index < 0 || index >= static_cast<int32_t>(world.players.size()))
        return nullptr;
    return &world.players[static_cast<size_t>(index)];
}

int32_t indexOf(int32_t player) { return player == -1 ? currentWorld().currentPlayer : player; }

// Player 0's character is the scenario's choice, so that the answer and player record 0
// can disagree.
KH_CDECL void* playerCharacter(int32_t player)
{
    trace::record("player_character", SIM_CALLER(), trace::args(player));
    if (player == 0)
        player = currentWorld().playerCharacter0;
    const auto* p = playerOf(player);
    return p && *p ? pointer(records::character(indexOf(player))) : nullptr;
}

KH_CDECL void* playerVehicle(int32_t player, int32_t mode)
{
    trace::record("player_vehicle", SIM_CALLER(), trace::args(player, mode));
    const auto* p = playerOf(player);
    return p && *p && (*p)->vehicle ? pointer(records::vehicle(indexOf(player))) : nullptr;
}

KH_CDECL Vec3* playerPosition(Vec3* out, int32_t player)
{
    trace::record("player_position", SIM_CALLER(), trace::args(player));
    const auto* p = playerOf(player);
    *out = p && *p ? (*p)->position : Vec3{0.0f, 0.0f, 0.0f};
    return out;
}

// Only the full-breath statistic is asked for; every other one answers the same.
KH_CDECL float statLimit(int32_t stat)
{
    trace::record("stat_limit", SIM_CALLER(), trace::args(stat));
    return currentWorld().breathLimit;
}

} // namespace

void registerWorldSubstitutes()
{
    substitute(host::player_character, &playerCharacter);
    substitute(host::player_vehicle, &playerVehicle);
    substitute(host::player_position, &playerPosition);
    substitute(host::stat_limit, &statLimit);
    substitute(host::player_wanted, &playerWanted);
    substitute(host::pad_get, &padGet);
    substitute(host::pad_weapon_cue_a, &padWeaponCueA);
    substitute(host::pad_weapon_cue_b, &padWeaponCueB);
    substitute(host::pad_ammo_cue, &padAmmoCue);
    substitute(host::character_weapon_skill, &characterWeaponSkill);
    substitute(host::weapon_info, &weaponInfo);
}

} // namespace sim
