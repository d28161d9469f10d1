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

// One wanted record for the local player, whichever player is asked about.
KH_CDECL void* playerWanted(int32_t player)
{
    trace::record("player_wanted", SIM_CALLER(), trace::args(player));
    return pointer(records::wanted);
}

KH_CDECL void* padGet(int32_t pad)
{
    trace::record("pad_get", SIM_CALLER(), trace::args(pad));
    return pointer(records::pad);
}

KH_THISCALL bool padWeaponCueA(void*)
{
    trace::record("pad_weapon_cue_a", SIM_CALLER(), trace::args());
    return currentWorld().pad.weaponA;
}

KH_THISCALL bool padWeaponCueB(void*)
{
    trace::record("pad_weapon_cue_b", SIM_CALLER(), trace::args());
    return currentWorld().pad.weaponB;
}

KH_THISCALL bool padAmmoCue(void*)
{
    trace::record("pad_ammo_cue", SIM_CALLER(), trace::args());
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

} // namespace

void registerWorldSubstitutes()
{
    substitute(host::player_wanted, &playerWanted);
    substitute(host::pad_get, &padGet);
    substitute(host::pad_weapon_cue_a, &padWeaponCueA);
    substitute(host::pad_weapon_cue_b, &padWeaponCueB);
    substitute(host::pad_ammo_cue, &padAmmoCue);
    substitute(host::character_weapon_skill, &characterWeaponSkill);
    substitute(host::weapon_info, &weaponInfo);
}

} // namespace sim
