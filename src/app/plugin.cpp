#include "state/plugin.h"

HudPlugin plugin;
uint32_t hostObjectRef;
