#include "core/plugin.h"

HudPlugin plugin;
uint32_t hostObjectRef;
