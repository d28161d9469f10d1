#pragma once

// Substitutes the plug-in's files for the host's font and blip dictionaries and subscribes
// the loading and release of the plug-in's textures to the renderer's start and shutdown.
void installTextures();
