#include "hooks/option_patches.h"

// The sets are written together with their replacement routines; until then they patch
// nothing, whatever the settings say.

void installFontPatches() {}

void installMarkerPatches() {}

void installOnFootCameraPatches() {}

void installVehicleCameraPatches() {}
