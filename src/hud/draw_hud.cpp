#include "hud/draw_hud.h"

void DrawHud() {}

void UpdateHudLayout() {}
