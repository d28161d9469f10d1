#include "hud/area_names.h"

KH_CDECL void PrintZoneName() {}

KH_CDECL void SetZoneNameColour(Colour) {}

KH_CDECL void PrintVehicleName() {}

KH_CDECL void SetVehicleNameColour(Colour) {}
