#include "hud/wanted_stars.h"

void DrawWantedStars(float, float) {}
