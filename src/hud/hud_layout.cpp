#include <algorithm>

#include "hud/draw_hud.h"

namespace {

// How far the weapon icon and the counter move down below what was shown in the
// previous frame: the counter (above the icon), the stars and the cash window.
struct RowShift {
    float icon, ammo;
};

// Indexed by ammoShown * 4 + starsShown * 2 + cashShown.
constexpr RowShift rowShifts[8] = {
    {0, 0}, {27, 32}, {27, 32}, {60, 66}, {27, 0}, {60, 34}, {60, 32}, {93, 66},
};

constexpr float slideStep = 30;
constexpr int32_t statsHidden = -300;

// Per frame, not per millisecond: the slides follow the frame rate.
void slideIn(float& value, float target)
{
    if (value != target)
        value += slideStep;
    if (value >= target)
        value = target;
}

void slideOut(float& value)
{
    if (value != 0)
        value -= slideStep;
    if (value <= 0)
        value = 0;
}

// The largest float below 2^31: a column from hud.dat beyond it (or NaN) would make the
// slide's integer overflow or its conversion undefined.
constexpr float statsColumnLimit = 2147483520.0f;

void slideStatsBox(HudElementState& state, float column)
{
    const float target = column != column ? 0.0f : std::clamp(column, -statsColumnLimit, statsColumnLimit);
    if (state.statsShown) {
        if (state.statsSlide != target)
            state.statsSlide += static_cast<int32_t>(slideStep);
        if (state.statsSlide >= target)
            state.statsSlide = static_cast<int32_t>(target);
    } else {
        if (state.statsSlide != statsHidden)
            state.statsSlide -= static_cast<int32_t>(slideStep);
        if (state.statsSlide <= statsHidden)
            state.statsSlide = statsHidden;
    }
}

} // namespace

void updateHudLayout(const HudLayout& layout, HudElementState& state)
{
    const LayoutBox* records = layout.records;

    const RowShift& shift = rowShifts[state.ammoShown * 4 + state.starsShown * 2 + state.cashShown];
    state.weaponIconY = records[HUD_WEAPON_ICON].y + shift.icon;
    state.ammoY = records[HUD_AMMO].y + shift.ammo;
    state.secondWeaponIconY = records[HUD_SECOND_WEAPON_ICON].y + (state.secondAmmoShown ? 27.0f : 0.0f);
    state.secondAmmoY = records[HUD_SECOND_AMMO].y;

    float* slides[] = {&state.phoneSlide, &state.clockSlide, &state.daySlide};
    const LayoutRecord phoneParts[] = {HUD_CELLPHONE, HUD_CELLPHONE_CLOCK, HUD_CELLPHONE_DAY};
    for (int i = 0; i < 3; ++i) {
        if (state.phoneShown)
            slideIn(*slides[i], records[phoneParts[i]].y);
        else
            slideOut(*slides[i]);
    }
    slideStatsBox(state, records[HUD_STATS_BOX].x);
}
