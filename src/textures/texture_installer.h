#pragma once

#include "injector/patch_table.h"

// Substitutes the plug-in's files for the host's font and blip dictionaries (the loading and
// release of the plug-in's own textures are subscribed to the renderer's events by the
// start-up): the table of its three calls, made for this start-up's settings; the start-up
// checks it, then writes it.
injector::PatchTable textureInstaller();
