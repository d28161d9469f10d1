#include "hud/area_names.h"

#include "state/plugin.h"
#include "data/placement.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "draw/hud_style.h"

namespace {

const char* zoneName() { return static_cast<const char*>(host::zone_name_text.pointer()); }
const char* vehicleName() { return static_cast<const char*>(host::vehicle_name_text.pointer()); }

// The style is set even when nothing prints. The phone takes the names' place while it
// is up. Placed from the bottom-right corner; the host's own place is not used.
void printName(const LayoutBox& box, const Shift& shift, const char* text, const ScreenScale& unit)
{
    setNameStyle(2, box, unit);
    if (plugin.hudState.phoneShown || plugin.hudDisabled)
        return;
    host::text_print(shift.atX(unit.width - unit.pixels(box.x)), shift.atY(unit.height - unit.pixels(box.y)), text);
}

void printName(LayoutRecord record, const char* text)
{
    const ScreenScale unit;
    printName(plugin.layout.records[record], shiftOf(plugin.layout, record, unit), text, unit);
}

// The host's fade reaches both colours through its alpha; its red, green and blue do not.
void setNameColour(HudColour name, Colour host)
{
    setNameColours(name, host.a);
}

} // namespace

KH_CDECL void PrintZoneName() { printName(HUD_ZONE_NAME, zoneName()); }

KH_CDECL void SetZoneNameColour(Colour colour) { setNameColour(HUD_COLOUR_ZONE, colour); }

KH_CDECL void PrintVehicleName() { printName(HUD_VEHICLE_NAME, vehicleName()); }

KH_CDECL void SetVehicleNameColour(Colour colour) { setNameColour(HUD_COLOUR_VEHICLE_NAME, colour); }

// Each name's style and colours, then the name as the host's print call would print it
// (which sets the style again, since the host calls it on its own too).
void drawAreaNames(const HudLayout& layout, const ScreenScale& unit)
{
    const LayoutBox& zone = layout.records[HUD_ZONE_NAME];
    setNameStyle(2, zone, unit);
    setNameColours(HUD_COLOUR_ZONE, 255);
    if (host::zone_name_state_b.get() && host::zone_name_state_a.get())
        printName(zone, shiftOf(layout, HUD_ZONE_NAME, unit), zoneName(), unit);

    const LayoutBox& vehicle = layout.records[HUD_VEHICLE_NAME];
    setNameStyle(2, vehicle, unit);
    setNameColours(HUD_COLOUR_VEHICLE_NAME, 255);
    if (host::vehicle_name_state_b.get() && host::vehicle_name_state_a.get())
        printName(vehicle, shiftOf(layout, HUD_VEHICLE_NAME, unit), vehicleName(), unit);
}
