#include "core/input.h"

#include "platform/win32.h"

bool moduleLoaded(const char* name) { return GetModuleHandleA(name) != nullptr; }
