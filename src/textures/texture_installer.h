#pragma once

#include "injector/patch_table.h"

// Substitutes the plug-in's files for the host's font and blip dictionaries (the loading and
// release of the plug-in's own textures are subscribed to the renderer's events by the
// start-up). Its three calls are written whole or not at all.
injector::PatchRefusal installTextures();
// Its table, made for this start-up's settings, for checking before anything is written.
injector::PatchTable textureInstaller();
