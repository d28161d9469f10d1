#pragma once

// The plug-in's start-up: reads its data files and, when enabled and the host's code is
// what the plug-in was made against, patches the host and subscribes its routines, all in
// one fixed order. Runs once, when the host loads us.
void startUp();

// Set by the start-up once the host's code matched, before it patches: only then may
// anything else of the plug-in call into the host.
extern bool hostMatched;
