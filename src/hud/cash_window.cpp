#include "hud/cash_window.h"

void DrawCashBlock() {}

void DrawCash() {}
