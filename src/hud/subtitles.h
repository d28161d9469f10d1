#pragma once

#include "platform/callconv.h"

// The host decides when subtitles and the mission text show and what they say; these
// replacements of its print calls give them this style and place. While the display is
// switched off they set the style and print nothing.

// The host's subtitle print, with its arguments: its own x and y are not used.
KH_CDECL void PrintSubtitle(float x, float y, const char* text);
// The host's mission-text call: prints host::mission_text.
KH_CDECL void PrintMissionText();
