#pragma once

// Optional changes to the host, each behind its own setting.
void installFontPatches();
void installMarkerPatches();
void installOnFootCameraPatches();
void installVehicleCameraPatches();
