#include "hud/stats_box.h"

#include <cmath>
#include <iterator>

#include "data/placement.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "host/text_style.h"
#include "hud/cellphone.h"
#include "draw/hud_style.h"
#include "hud/player_info.h"
#include "hud/weapon_ammo.h"
#include "draw/render_state.h"

namespace {

struct StatRow {
    const char* label;
    float labelOffset, barOffset; // from the panel's top, reference units
    int32_t statistic;            // -1: the current weapon's skill
};

constexpr int32_t weaponSkillRow = -1;

constexpr StatRow rows[] = {
    {"STAT068", 10, 35, 64},   {"STAT225", 55, 80, 225},  {"CURWSKL", 100, 125, weaponSkillRow},
    {"STAT022", 145, 170, 22}, {"STAT023", 190, 215, 23}, {"STAT021", 235, 260, 21},
    {"STAT025", 280, 305, 25},
};

struct SkillEntry {
    int32_t model, statistic;
};

// Searched, never indexed, so a model of any value reads only this table.
constexpr SkillEntry skillTable[] = {
    {346, 69}, {347, 70}, {348, 71}, {349, 72}, {350, 73}, {351, 74},
    {352, 75}, {353, 76}, {355, 77}, {356, 78}, {358, 79},
};

constexpr uint8_t fadedAlpha = 50;

// A whole number of pixels for a host argument of `max` at most: NaN and anything below 0
// give 0, anything above gives max (a float out of an integer's range has no value there).
uint32_t wholePixels(float v, uint32_t max)
{
    if (!(v > 0))
        return 0;
    return v >= static_cast<float>(max) ? max : static_cast<uint32_t>(v);
}

struct WeaponSkill {
    int32_t statistic; // -1: none
    uint8_t alpha;
};

WeaponSkill currentWeaponSkill()
{
    int32_t statistic = weaponSkillStatistic(currentWeaponModel(currentCharacter()));
    return {statistic, statistic < 0 ? fadedAlpha : uint8_t{255}};
}

void drawPanel(float slide, const LayoutBox& box, const Shift& shift, const ScreenScale& unit)
{
    float bottom = unit.height - unit.pixels(box.y);
    Rect rect;
    host::make_rect(&rect, slide, shift.atY(bottom), unit.pixels(box.w) + slide, shift.atY(bottom - unit.pixels(box.h)));
    FillRectPlain(rect, makeColour(0, 0, 0, 100));
}

void setLabelStyle(const ScreenScale& unit)
{
    host::text_set_align(host::Align::Left);
    host::text_set_font(1);
    host::text_set_outline(1);
    host::text_set_colour(hudColour(HUD_COLOUR_PURE_WHITE, 255));
    host::text_set_scale(unit.scale(0.5f), unit.scale(1.2f));
}

// The percentage of a statistic whose full value is 1000. Without a statistic (a weapon
// without skill) the faded bar stays empty.
float percentOf(int32_t statistic)
{
    if (statistic < 0)
        return 0.0f;
    double value = host::stat_value(statistic);
    return static_cast<float>(value * 0.001 * 100);
}

} // namespace

int32_t weaponSkillStatistic(int32_t model)
{
    for (const SkillEntry& e : skillTable)
        if (e.model == model)
            return e.statistic;
    return -1;
}

void FillRectPlain(const Rect& rect, const Colour& colour)
{
    const RenderStateScope states(boxFillStates);
    host::fill_rect(&rect, &colour);
}

void drawStatsBox(const HudLayout& layout, HudElementState& state, const ScreenScale& unit)
{
    state.statsShown = phoneWindowOpen(state);
    WeaponSkill skill = currentWeaponSkill();

    const LayoutBox& box = layout.records[HUD_STATS_BOX];
    const float slide = unit.pixels(static_cast<float>(state.statsSlide));
    // Only up or down: the box slides in from the left edge.
    const Shift shift = shiftOf(layout, HUD_STATS_BOX, unit);
    drawPanel(slide, box, shift, unit);

    const Colour bar = hudColour(HUD_COLOUR_WHITE, 255);
    Colour weaponBar = bar;
    weaponBar.a = skill.alpha;
    setLabelStyle(unit);

    const float left = unit.pixels(static_cast<float>(state.statsSlide) + 10);
    const auto barWidth = static_cast<uint16_t>(wholePixels(std::trunc(unit.scale(box.w - 20)), 0xFFFF));
    const auto barHeight = static_cast<uint8_t>(wholePixels(std::trunc(unit.scale(12)), 0xFF));
    for (const StatRow& row : rows) {
        const bool weaponRow = row.statistic == weaponSkillRow;
        host::text_print(left, shift.atY(unit.height - unit.pixels(box.h + box.y - row.labelOffset)),
                         host::text_lookup(host::text_table.pointer(), row.label));
        const Colour& colour = weaponRow ? weaponBar : bar;
        host::progress_bar(left, shift.atY(unit.height - unit.pixels(box.h + box.y - row.barOffset)), barWidth, barHeight,
                           percentOf(weaponRow ? skill.statistic : row.statistic), 0, 0, 0, colour, colour);
    }
}
