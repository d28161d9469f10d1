#include "host_frame.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "graphics_device.h"
#include "host_aim.h"
#include "host/host.h"
#include "host_help.h"
#include "host_image.h"
#include "host_phone.h"
#include "host_options.h"
#include "host_radar.h"
#include "host_records.h"
#include "host_state.h"
#include "host_routines.h"
#include "host_sites.h"
#include "render_engine.h"
#include "scenario_cursor.h"
#include "system.h"
#include "trace.h"

namespace sim {

namespace {

WorldState current;
ScenarioCursor playing; // where the run is in its scenario
bool firstFrame = true; // the first frame applied after the start writes everything
float timeStep = 0.0f;  // the host's frame step of the frame applied last

void writeZeros(uint32_t address, uint32_t size)
{
    static const uint8_t zeros[0x800] = {};
    for (uint32_t done = 0; done < size; done += sizeof zeros)
        hostWrite(address + done, zeros, std::min<uint32_t>(sizeof zeros, size - done));
}

void writeVehicle(uint32_t vehicle, const VehicleState& v)
{
    writeZeros(vehicle, records::vehicleSize);
    uint32_t matrix = vehicle + records::vehicleMatrix;
    hostWrite<uint32_t>(vehicle + host::vehicle_matrix.offset, matrix);
    hostWrite<float>(matrix + host::matrix_right_z, v.matrix[0]);
    hostWrite<float>(matrix + host::matrix_up_z, v.matrix[1]);
    hostWrite<int32_t>(vehicle + host::vehicle_type.offset, v.type);
}

void writeCharacter(int index, const PlayerState& player)
{
    uint32_t character = records::character(index);
    writeZeros(character, records::characterSize);
    hostWrite<float>(character + host::character_health.offset, player.health);
    hostWrite<float>(character + host::character_armour.offset, player.armour);
    hostWrite<uint32_t>(character + host::character_state_flags.offset, player.stateFlags);
    uint32_t data = records::playerDataOf(index);
    writeZeros(data, records::playerDataSize);
    hostWrite<float>(data + host::player_data_breath, player.breath);
    hostWrite<uint32_t>(character + host::character_player_data.offset, data);
    uint32_t vehicle = player.vehicle ? records::vehicle(index) : 0;
    if (player.vehicle)
        writeVehicle(vehicle, *player.vehicle);
    hostWrite<uint32_t>(character + host::character_vehicle.offset, vehicle);
    hostWrite<uint32_t>(character + host::character_vehicle_flags.offset, player.vehicle ? player.vehicle->flags : 0);
    const WeaponSlotState& w = player.weapon;
    uint32_t slot = character + host::character_weapon_slots + static_cast<uint32_t>(w.slot) * host::weapon_slot_size;
    hostWrite<int32_t>(slot + host::weapon_slot_type, w.type);
    hostWrite<int32_t>(slot + host::weapon_slot_ammo_clip, w.clip);
    hostWrite<int32_t>(slot + host::weapon_slot_ammo_total, w.total);
    hostWrite<uint8_t>(character + host::character_current_slot.offset, static_cast<uint8_t>(w.slot));
    hostWrite<uint8_t>(character + host::character_crosshair_block.offset, player.crosshairBlock);
}

// What lies right after the host's two player records is other host data, not a third
// record: words that are no pointer anywhere, so that reading a "record" there shows.
constexpr uint32_t afterPlayerRecords = host::player_records.address + host::player_record_count * host::player_record_size;
constexpr uint32_t notAPointer = 0xBAD;

void writeAfterPlayerRecords()
{
    for (uint32_t a = afterPlayerRecords; a < afterPlayerRecords + host::player_record_size; a += 4)
        hostWrite<uint32_t>(a, notAPointer);
}

void writePlayers(const WorldState& world)
{
    hostWrite<int32_t>(host::current_player_index.address, world.currentPlayer);
    writeAfterPlayerRecords();
    for (uint32_t i = 0; i < host::player_record_count; ++i) {
        uint32_t record = host::player_records.address + i * host::player_record_size;
        const std::optional<PlayerState>& player = world.players[i];
        uint32_t character = player ? records::character(static_cast<int>(i)) : 0;
        if (player)
            writeCharacter(static_cast<int>(i), *player);
        hostWrite<uint32_t>(record, character);
        hostWrite<int32_t>(record + host::player_record_money, player ? player->money : 0);
        hostWrite<uint8_t>(record + host::player_record_max_health, player ? player->maxHealth : 0);
        hostWrite<uint8_t>(record + host::player_record_max_armour, player ? player->maxArmour : 0);
    }
}

void writeWeaponRecords(const WorldState& world)
{
    static_assert(maxWeaponRecords + 1 <= records::weaponRecordSlots, "room for the record of zeros");
    writeZeros(records::weaponRecords, records::weaponRecordSlots * records::weaponRecordSize);
    for (size_t i = 0; i < world.weaponInfo.size(); ++i) {
        uint32_t record = records::weaponRecords + static_cast<uint32_t>(i) * records::weaponRecordSize;
        hostWrite<uint16_t>(record + host::weapon_info_clip_size, world.weaponInfo[i].clipSize);
        hostWrite<int32_t>(record + host::weapon_info_model.offset, world.weaponInfo[i].model);
    }
}

void writeAreaName(uint32_t text, uint32_t stateA, uint32_t stateB, uint32_t colour, const AreaNameState& name)
{
    char buffer[host::zone_name_text_size] = {};
    std::memcpy(buffer, name.text.data(), std::min<size_t>(name.text.size(), sizeof buffer - 1));
    hostWrite(text, buffer, sizeof buffer);
    hostWrite<int32_t>(stateA, name.states[0]);
    hostWrite<int32_t>(stateB, name.states[1]);
    hostWrite<Colour>(colour, name.colour);
}

bool sameTarget(const std::optional<TargetState>& a, const std::optional<TargetState>& b)
{
    if (!a || !b)
        return !a && !b;
    return a->index == b->index && a->counter == b->counter && a->flags == b->flags && a->handle == b->handle &&
           std::memcmp(&a->position, &b->position, sizeof a->position) == 0;
}

// The trace record and the handle that names it. The menu state's other fields are left
// as they are.
void writeTarget(const std::optional<TargetState>& target)
{
    writeZeros(host::radar_traces.address, host::radar_trace_count * host::radar_trace_size);
    uint32_t handle = 0;
    if (target) {
        uint32_t record = host::radar_traces.address + uint32_t{target->index} * host::radar_trace_size;
        hostWrite<float>(record + host::radar_trace_x, target->position.x);
        hostWrite<float>(record + host::radar_trace_y, target->position.y);
        hostWrite<float>(record + host::radar_trace_z, target->position.z);
        hostWrite<uint16_t>(record + host::radar_trace_counter, target->counter);
        hostWrite<uint8_t>(record + host::radar_trace_flags, target->flags);
        handle = target->handle.value_or(uint32_t{target->counter} << 16 | target->index);
    }
    hostWrite<uint32_t>(host::menu_state.address + host::menu_target_handle, handle);
}

void writeRoute(const RouteState& route)
{
    static_assert(maxRouteNodes <= records::pathNodeSlots);
    for (size_t i = 0; i < route.nodes.size(); ++i)
        hostWrite<Vec3>(records::pathNodes + static_cast<uint32_t>(i) * records::pathNodeSize, route.nodes[i]);
}

bool targetWritten = false;

// The alternate clock follows the clock, so it is written every frame.
void writeAltClock(const WorldState& world)
{
    uint32_t now = host::time_ms.get();
    hostWrite<uint32_t>(host::time_ms_alt.address, now + static_cast<uint32_t>(world.altClockOffsetMs));
}

} // namespace

void writeWorld(const WorldState& world)
{
    // The host (and the plug-in, on arrival) changes the target; the scenario's target is
    // written only when it changes, so that such a change lasts.
    if (!targetWritten || !sameTarget(world.target, current.target))
        writeTarget(world.target);
    targetWritten = true;
    current = world;
    writePlayers(world);
    writeWeaponRecords(world);
    hostWrite<uint32_t>(records::wanted + host::wanted_star_count, world.wanted.stars);
    hostWrite<uint32_t>(records::wanted + host::wanted_change_time, world.wanted.changedMs);
    writeAltClock(world);
    static_assert(host::vehicle_name_text_size == host::zone_name_text_size);
    writeAreaName(host::zone_name_text.address, host::zone_name_state_a.address, host::zone_name_state_b.address,
                  records::zoneNameColour, world.zoneName);
    writeAreaName(host::vehicle_name_text.address, host::vehicle_name_state_a.address,
                  host::vehicle_name_state_b.address, records::vehicleNameColour, world.vehicleName);
    hostWrite<int16_t>(records::pad + host::pad_cash_cue_field.offset, world.pad.cash);
    hostWrite<uint8_t>(host::hud_block_flag_a.address, world.block[0]);
    hostWrite<uint8_t>(host::hud_block_flag_b.address, world.block[1]);
    hostWrite<uint8_t>(host::hud_block_flag_c.address, world.block[2]);
    hostWrite<uint32_t>(host::player_damage_time.address, world.damageMs);
    hostWrite<int32_t>(host::menu_state.address + host::menu_radar_mode, world.radarMode);
    hostWrite<uint8_t>(host::menu_state.address + host::menu_language, world.language);
    writeRoute(world.route);
    writeDeviceCaps(world.device);
    writeAimWorld(world);
    writeHelpWorld(world);
    writePhoneWorld(world);
    writeOptionsWorld(world.options);
}

const WorldState& currentWorld() { return current; }

void checkPad(const void* pad, const char* op)
{
    if (reinterpret_cast<uintptr_t>(pad) == records::pad)
        return;
    std::fprintf(stderr, "kellhud-sim: %s called on 0x%X, which is not the host's pad (0x%X)\n", op,
                 static_cast<unsigned>(reinterpret_cast<uintptr_t>(pad)), records::pad);
    std::abort();
}

void applyScenarioStart(const Scenario& scenario)
{
    targetWritten = false;
    hostWrite<int32_t>(host::screen_width.address, scenario.width);
    hostWrite<int32_t>(host::screen_height.address, scenario.height);
    hostWrite<uint32_t>(host::time_ms.address, scenario.startMs);
    system().loadedModules = scenario.modules;
    system().protectionRefused = {scenario.protectionRefused.begin(), scenario.protectionRefused.end()};
    setRenderStates(scenario.renderStates);
    hostState().texts = scenario.texts;
    for (const HostBytes& h : scenario.hostBytes)
        hostWrite(h.address, h.bytes.data(), static_cast<uint32_t>(h.bytes.size()));
    writeWorld(scenario.worldAt(0));
    writeRadarWorld(currentWorld(), false);
    startCursor(playing, scenario);
    firstFrame = true;
}

// Host memory keeps what was written, as the host's own does: the keys and the world are
// written when the scenario changes them, the clocks every frame.
void applyFrame(const Scenario& scenario, int frame)
{
    if (playing.scenario != &scenario || frame < playing.frame) {
        startCursor(playing, scenario);
        firstFrame = true;
    }
    const int fromFrame = playing.frame;
    const uint32_t before = playing.timeMs;
    moveCursor(playing, frame);
    trace::frame = frame;
    hostWrite<uint32_t>(host::time_ms.address, playing.timeMs);
    if (playing.keysChanged || firstFrame)
        system().holdKeys(playing.keysDown);
    if (playing.worldChanged || firstFrame)
        writeWorld(*playing.world);
    else
        writeAltClock(currentWorld());
    writeRadarWorld(currentWorld(), playing.mapScreen);
    // The host's frame step, in fiftieths of a second: the clock's advance into this frame
    // (the first frame takes the usual step).
    if (frame != fromFrame)
        timeStep = static_cast<float>(fromFrame == 0 ? scenario.stepMs : playing.timeMs - before) / 20.0f;
    hostWrite<float>(host::time_step.address, currentWorld().helpTexts.timeStep.value_or(timeStep));
    firstFrame = false;
}

void runHostFrame(const Scenario&, int)
{
    // Game logic first, then the radar, then the HUD, then the overlays at the end of
    // drawing.
    reachFrameProcess();
    reachOptionSites(currentWorld().options);
    reachRadarStage();
    reachRadarDrawA(true);
    // The full-screen map draws its blips itself, then reaches the second radar overlay
    // call; neither happens while the map is not shown.
    if (playing.mapScreen) {
        reachMapScreenStage();
        reachRadarDrawB(true);
    }
    reachHudStage(currentWorld().zoneName.shown, currentWorld().vehicleName.shown);
    reachHostBars();
    reachAimStage();
    reachHelpTexts(currentWorld());
    reachDraw();
    reachDrawTail();
}

} // namespace sim
