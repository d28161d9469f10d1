#include "radar/guidance.h"

#include "host/host.h"

namespace {

constexpr uint32_t seatedInVehicle = 0x100;
// Trace record flags: the record is in use as a target in one of two ways.
constexpr uint8_t traceInUse = 0x03;

// Vehicle kinds the host gives no road route to.
bool guidedVehicle(int32_t type) { return type != 3 && type != 4 && type != 10; }

bool playerDrivesGuidedVehicle()
{
    void* character = host::player_character(0);
    if (!character)
        return false;
    void* vehicle = host::character_vehicle.of(character);
    if (!vehicle || !(host::character_vehicle_flags.of(character) & seatedInVehicle))
        return false;
    return guidedVehicle(host::vehicle_type.of(vehicle));
}

bool validTarget(MapTarget& target)
{
    uint32_t handle = host::load<uint32_t>(host::menu_state.address + host::menu_target_handle);
    uint32_t index = handle & 0xFFFF;
    // The handle comes from host memory: an index beyond the trace array would read other
    // host data as a record.
    if (!handle || index >= host::radar_trace_count)
        return false;
    uint32_t record = host::radar_traces.address + index * host::radar_trace_size;
    if (host::load<uint16_t>(record + host::radar_trace_counter) != handle >> 16)
        return false;
    if (!(host::load<uint8_t>(record + host::radar_trace_flags) & traceInUse))
        return false;
    target.handle = handle;
    target.position = {host::load<float>(record + host::radar_trace_x), host::load<float>(record + host::radar_trace_y),
                       host::load<float>(record + host::radar_trace_z)};
    return true;
}

} // namespace

bool guidanceActive(MapTarget& target) { return playerDrivesGuidedVehicle() && validTarget(target); }
