#pragma once

#include "injector/patch_table.h"

// Optional changes to the host, each behind its own setting; each set is written whole or
// not at all.
injector::PatchRefusal installFontPatches();
injector::PatchRefusal installMarkerPatches();
injector::PatchRefusal installOnFootCameraPatches();
injector::PatchRefusal installVehicleCameraPatches();
