#include "core/input.h"

#include "platform/win32.h"

bool keyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool moduleLoaded(const char* name) { return GetModuleHandleA(name) != nullptr; }
