#pragma once

// The plug-in's start-up: reads its data files and, when enabled, patches the host and
// subscribes its routines, all in one fixed order. Runs once, when the host loads us.
void startUp();
