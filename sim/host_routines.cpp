#include "host_routines.h"

#include <bit>

#include "host/host.h"
#include "host_records.h"
#include "image_writer.h"

namespace sim {

namespace {

using Routine = void(KH_CDECL*)();

void enter(uint32_t address) { reinterpret_cast<Routine>(uintptr_t{address})(); }

// Each routine's entry: where the code before its first site begins.
constexpr uint32_t zoneNameEntry = host::site_zone_name_colour - 6;
constexpr uint32_t vehicleNameEntry = host::site_vehicle_name_colour - 6;
constexpr uint32_t arrowEntry = host::site_arrow_colour - 13;

// An area-name routine: the text colour (the host's fade) from the colour site, then the
// print of the text at the host's place from the print site. The code between the two
// sites is the host's and is not simulated: the routine jumps over it.
void writeAreaNameRoutine(ImageWriter& image, uint32_t colourSite, uint32_t printSite, uint32_t colour,
                          uint32_t text, float x, float y, const char* what)
{
    X86 print(printSite - 15);
    print.pushImm(text).pushImm(std::bit_cast<uint32_t>(y)).pushImm(std::bit_cast<uint32_t>(x));
    print.site(printSite).call(host::text_print.address).addEsp(12).ret();

    X86 setColour(colourSite - 6);
    setColour.pushMem(colour).site(colourSite).call(host::text_set_colour.address).addEsp(4);
    setColour.jmp(printSite - 15);

    image.write(colourSite - 6, setColour, std::string(what) + " colour");
    image.write(printSite - 15, print, std::string(what) + " print");
}

// A colour made in place with the shape of make_colour: ECX the colour object, the four
// bytes pushed last to first; the callee removes them.
void writeColourCall(ImageWriter& image, uint32_t site, uint32_t object, const uint8_t rgba[4], const char* what)
{
    X86 code(site - 13);
    code.movEcx(object).pushImm8(rgba[3]).pushImm8(rgba[2]).pushImm8(rgba[1]).pushImm8(rgba[0]);
    code.site(site).call(host::make_colour.address).ret();
    image.write(site - 13, code, what);
}

} // namespace

void writeHostRoutines(ImageWriter& image)
{
    X86 radar(radarStage);
    radar.call(host::radar_draw.address).ret();
    image.write(radarStage, radar, "radar stage");

    X86 mapScreen(mapScreenStage);
    mapScreen.movEcx(0).call(host::radar_draw_blips.address).ret();
    image.write(mapScreenStage, mapScreen, "map screen stage");

    X86 hud(hudStage);
    hud.call(host::hud_draw.address).call(host::hud_extra_draw.address).ret();
    image.write(hudStage, hud, "HUD stage");

    writeAreaNameRoutine(image, host::site_zone_name_colour, host::site_zone_name_print, records::zoneNameColour,
                         host::zone_name_text.address, zoneNameX, zoneNameY, "zone name");
    writeAreaNameRoutine(image, host::site_vehicle_name_colour, host::site_vehicle_name_print,
                         records::vehicleNameColour, host::vehicle_name_text.address, vehicleNameX, vehicleNameY,
                         "vehicle name");
    writeColourCall(image, host::site_gang_overlay_colour, records::gangOverlayColour, gangOverlayRgba,
                    "gang overlay colour");
    writeColourCall(image, host::site_arrow_colour, records::arrowColour, arrowRgba, "arrow colour");
}

void reachRadarStage() { enter(radarStage); }
void reachMapScreenStage() { enter(mapScreenStage); }

void reachHudStage(bool zoneNameShown, bool vehicleNameShown)
{
    enter(hudStage);
    if (zoneNameShown)
        enter(zoneNameEntry);
    if (vehicleNameShown)
        enter(vehicleNameEntry);
}

void reachGangOverlayColour() { enter(gangOverlayColourEntry); }
void reachArrowColour() { enter(arrowEntry); }

} // namespace sim
