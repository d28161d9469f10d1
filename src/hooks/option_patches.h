#pragma once

#include "injector/patch_table.h"

// Optional changes to the host, each behind its own setting (patchSets says which): the
// sets' tables, made for this start-up; the start-up checks them, then writes them.
injector::PatchTable fontPatches();
injector::PatchTable markerPatches();
injector::PatchTable onFootCameraPatches();
injector::PatchTable vehicleCameraPatches();
