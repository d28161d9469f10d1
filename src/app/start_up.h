#pragma once

// The plug-in's start-up: reads its data files and, when enabled and the host's code is
// what the plug-in was made against, patches the host and subscribes its routines, all in
// one fixed order. Where the game will not let a patch be written, it puts back what it
// wrote before and starts no further. Runs once, when the host loads us.
void startUp();

// Set by the start-up once the host's code matched and every patch is written: only then
// may anything else of the plug-in call into the host.
extern bool hostMatched;
