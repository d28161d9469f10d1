#pragma once

// What the player does at the keyboard, and which other modules run in the host's process,
// as Windows tells it (through the platform seam, so the sim answers the same calls).

#include "platform/win32.h"

// Virtual-key codes of the keys the plug-in reads.
constexpr int tabKey = 0x09;    // opens the phone window
constexpr int cashKey = 0x54;   // "T": opens the cash window and zooms the radar out
constexpr int toggleKey = 0x7A; // F11: switches the display off and on

// The key is held down now. Inline: the radar zoom asks for every point it converts.
inline bool keyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// A module of that name is loaded in the host's process.
bool moduleLoaded(const char* name);
