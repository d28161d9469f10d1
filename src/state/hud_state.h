#pragma once

#include <cstdint>

// What the HUD elements tell each other from one frame to the next: shown-flags, window
// end times, derived positions and slide values. Zero when the library is loaded, never
// reset. Lengths are reference units; times are host milliseconds. Beside each field: the
// element that writes it -> the ones that read it.
struct HudElementState {
    bool starsShown;      // drawWantedStars -> drawCash (below the stars), updateHudLayout
    bool cashShown;       // cashWindowOpen -> updateHudLayout
    bool ammoShown;       // drawAmmo, first player -> updateHudLayout; keeps its value in frames
                          // where the counter is not drawn
    bool secondAmmoShown; // drawAmmo, second player -> updateHudLayout; likewise
    bool phoneShown;      // drawCellphone -> updateHudLayout, the zone and vehicle names
    bool statsShown;      // drawStatsBox -> updateHudLayout
    bool radioShown;      // DrawRadioHud -> cashCued (the cash window and the radar's zoom)
    int32_t stripIcons[5]; // DrawRadioHud, for its strip in the next frame

    // updateHudLayout -> the weapon rows (drawCurrentWeaponIcon, drawCurrentAmmo and the
    // second player's row in DrawHud)
    float weaponIconY, ammoY, secondWeaponIconY, secondAmmoY;
    // updateHudLayout -> drawCellphone
    float phoneSlide, clockSlide, daySlide; // 0 = hidden
    // updateHudLayout -> drawStatsBox
    int32_t statsSlide;                     // -300 = hidden

    // Each written and read by its own window: the weapon and ammo windows of DrawHud,
    // cashWindowOpen, phoneWindowOpen (shared by the cellphone and the stats box).
    uint32_t weaponUntil, ammoUntil, cashUntil, phoneUntil;
};
