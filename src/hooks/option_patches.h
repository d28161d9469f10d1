#pragma once

#include "injector/patch_table.h"

// Optional changes to the host, each behind its own setting; each set is written whole or
// not at all.
injector::PatchRefusal installFontPatches();
injector::PatchRefusal installMarkerPatches();
injector::PatchRefusal installOnFootCameraPatches();
injector::PatchRefusal installVehicleCameraPatches();

// The sets' tables, made for this start-up, for checking before anything is written.
injector::PatchTable fontPatches();
injector::PatchTable markerPatches();
injector::PatchTable onFootCameraPatches();
injector::PatchTable vehicleCameraPatches();
