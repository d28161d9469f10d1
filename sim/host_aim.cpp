#include "host_aim.h"

#include <optional>

#include "host_image.h"
#include "host_records.h"
#include "image_writer.h"
#include "world_state.h"

namespace sim {

namespace {

using Routine = void(KH_CDECL*)();

void enter(uint32_t address) { reinterpret_cast<Routine>(uintptr_t{address})(); }

std::optional<RadioState> radioWritten; // what the radio object was last given

void writeRadio(const RadioState& radio)
{
    uint32_t object = records::radioObject;
    hostWrite<int32_t>(object + host::radio_station.offset, radio.station);
    hostWrite<int8_t>(object + host::radio_station_step.offset, radio.step);
    hostWrite<uint8_t>(object + host::radio_change_flag.offset, radio.change ? 1 : 0);
    radioWritten = radio;
}

void writeCamera(const CameraState& camera)
{
    for (uint32_t i = 0; i < host::camera_record_count; ++i)
        hostWrite<uint16_t>(host::camera_records.address + i * host::camera_record_size, 0);
    if (camera.index >= 0 && static_cast<uint32_t>(camera.index) < host::camera_record_count)
        hostWrite<uint16_t>(host::camera_records.address + static_cast<uint32_t>(camera.index) * host::camera_record_size,
                            camera.mode);
    hostWrite<int32_t>(host::camera_active_index.address, camera.index);
    hostWrite<uint8_t>(host::camera_flag_c.address, camera.flagC);
    hostWrite<uint8_t>(host::camera_flag_d.address, camera.flagD);
    hostWrite<float>(host::crosshair_x_fraction.address, camera.aim.x);
    hostWrite<float>(host::crosshair_y_fraction.address, camera.aim.y);
}

} // namespace

void writeAimRoutines(ImageWriter& image)
{
    X86 crosshair(crosshairStage);
    crosshair.call(host::crosshair_draw.address).ret();
    image.write(crosshairStage, crosshair, "crosshair stage");

    // mov ecx, radio; mov [radio word], ecx (the site); call the radio display; ret
    X86 radio(radioStage);
    radio.movEcx(records::radioObject).site(host::site_radio_store).movMemEcx(records::radioWord);
    radio.call(host::radio_display.address).ret();
    image.write(radioStage, radio, "radio stage");

    // A new image holds a radio object of zeros.
    radioWritten.reset();
}

void reachAimStage()
{
    enter(crosshairStage);
    enter(radioStage);
}

void writeAimWorld(const WorldState& world)
{
    if (!radioWritten || !(*radioWritten == world.aim.radio))
        writeRadio(world.aim.radio);
    writeCamera(world.aim.camera);
}

} // namespace sim
