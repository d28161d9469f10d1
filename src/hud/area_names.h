#pragma once

#include "data/layout.h"
#include "data/screen_unit.h"
#include "host/types.h"
#include "platform/callconv.h"

// The host decides when the zone and vehicle names show and how they fade; these
// replacements of its colour and print calls give them this style's place and colours.
KH_CDECL void PrintZoneName();
KH_CDECL void SetZoneNameColour(Colour colour);
KH_CDECL void PrintVehicleName();
KH_CDECL void SetVehicleNameColour(Colour colour);

// The zone and vehicle names in the cash window, each when the host shows it.
void drawAreaNames(const HudLayout& layout, const ScreenScale& unit);
