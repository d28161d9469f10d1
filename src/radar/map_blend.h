#pragma once

// Entered by a jump from the middle of the host's map drawing (host::site_map_blend), with
// the host's stack and registers as they are there. It sets the map's blend states, does
// what the two host instructions the jump covers did (the byte at +0x13 of the host's stack
// frame into AL, then tests it) and resumes the host six bytes after the site with those
// flags. Not callable from C++: it has no return.
extern "C" void BeginMapBlend() asm("kellhud_begin_map_blend");
