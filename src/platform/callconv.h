#pragma once

// Calling conventions of the host's x86 code. Both builds are 32-bit x86 with GCC, so
// the same attributes name the same conventions on Windows and on Linux.
#define KH_CDECL __attribute__((cdecl))
#define KH_STDCALL __attribute__((stdcall))
#define KH_THISCALL __attribute__((thiscall))
