#pragma once

#include <cstdint>

// What the HUD elements tell each other from one frame to the next: shown-flags, window
// end times, derived positions and slide values. Zero when the library is loaded, never
// reset. Lengths are reference units; times are host milliseconds.
struct HudElementState {
    bool starsShown;
    bool cashShown;
    bool ammoShown;       // keeps its value in frames where the counter is not drawn
    bool secondAmmoShown; // likewise, for the second player's counter
    bool phoneShown;
    bool statsShown;
    bool radioShown;
    int32_t stripIcons[5];

    float weaponIconY, ammoY, secondWeaponIconY, secondAmmoY;
    float phoneSlide, clockSlide, daySlide; // 0 = hidden
    int32_t statsSlide;                     // -300 = hidden

    uint32_t weaponUntil, ammoUntil, cashUntil, phoneUntil;
};
