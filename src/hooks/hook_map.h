#pragma once

// The fixed lists of host sites that lead the host's HUD and radar drawing to the plug-in.
void installHudHookMap();
void installRadarHookMap();
