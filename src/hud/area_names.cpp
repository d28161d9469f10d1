#include "hud/area_names.h"

#include "state/plugin.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "draw/hud_style.h"

namespace {

// The style is set even when nothing prints. The phone takes the names' place while it
// is up. Placed from the bottom-right corner; the host's own place is not used.
void printName(LayoutRecord record, const char* text)
{
    const LayoutBox& box = layoutOf(record);
    setNameStyle(2, box);
    if (plugin.hudState.phoneShown || plugin.hudDisabled)
        return;
    host::text_print(screenWidth() - pixels(box.x), screenHeight() - pixels(box.y), text);
}

// The host's fade reaches both colours through its alpha; its red, green and blue do not.
void setNameColour(HudColour name, Colour host)
{
    setNameColours(name, host.a);
}

} // namespace

KH_CDECL void PrintZoneName()
{
    printName(HUD_ZONE_NAME, static_cast<const char*>(host::zone_name_text.pointer()));
}

KH_CDECL void SetZoneNameColour(Colour colour) { setNameColour(HUD_COLOUR_ZONE, colour); }

KH_CDECL void PrintVehicleName()
{
    printName(HUD_VEHICLE_NAME, static_cast<const char*>(host::vehicle_name_text.pointer()));
}

KH_CDECL void SetVehicleNameColour(Colour colour) { setNameColour(HUD_COLOUR_VEHICLE_NAME, colour); }

void drawAreaNames(const HudLayout& layout)
{
    setNameStyle(2, layout.records[HUD_ZONE_NAME]);
    setNameColours(HUD_COLOUR_ZONE, 255);
    if (host::zone_name_state_b.get() && host::zone_name_state_a.get())
        PrintZoneName();

    setNameStyle(2, layout.records[HUD_VEHICLE_NAME]);
    setNameColours(HUD_COLOUR_VEHICLE_NAME, 255);
    if (host::vehicle_name_state_b.get() && host::vehicle_name_state_a.get())
        PrintVehicleName();
}
