#include "hud/cash_window.h"

#include "data/placement.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "draw/hud_style.h"
#include "hud/number_text.h"
#include "hud/player_info.h"
#include "state/cash_cue.h"

namespace {

constexpr uint32_t cashWindowMs = 2500;

void setCashStyle(const LayoutBox& cash, const ScreenScale& unit)
{
    setNameStyle(3, cash, unit);
    setNameColours(HUD_COLOUR_CASH, 255);
}

} // namespace

bool cashWindowOpen(HudElementState& state)
{
    uint32_t now = host::time_ms.get();
    if (cashCued(host::pad_get(0), state.radioShown))
        state.cashUntil = now + cashWindowMs;
    state.cashShown = now < state.cashUntil;
    return state.cashShown;
}

void drawCash(const HudLayout& layout, const HudElementState& state, const ScreenScale& unit)
{
    // The style is set once before the amount is written and once after, as it always was.
    const LayoutBox& cash = layout.records[HUD_CASH];
    setCashStyle(cash, unit);

    // "-$" and the magnitude, computed wide so the most negative amount prints too.
    int32_t money = currentPlayerMoney();
    char text[16];
    if (money < 0)
        writeNumber(text, sizeof text, "-$", -int64_t{money});
    else
        writeNumber(text, sizeof text, "$", money);

    setCashStyle(cash, unit);
    // Below the stars when they show; the block's y offset does not move the cash.
    float y = cash.y + (state.starsShown ? 32.0f : 0.0f);
    const Shift shift = shiftOf(layout, HUD_CASH, unit);
    host::text_print_b(shift.atX(unit.width - unit.pixels(cash.x + layout.playerInfoOffset.x)),
                       shift.atY(unit.pixels(y)), text);
}
