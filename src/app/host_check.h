#pragma once

#include "core/settings.h"
#include "injector/patch_table.h"

// Before the plug-in writes one byte of the host, every site it would patch with these
// settings is checked: the event sites, both hook maps, the texture installer and the option
// sets that are on. Patching another build of the game, or code another mod has already
// changed, would overwrite unrelated code; one wrong site refuses them all.
injector::PatchRefusal checkHostBuild(const HudSettings& settings);

// Tells the player, once, that the plug-in changed nothing and why: the site, what stood
// there, and the module another mod's call leads into, where one is found.
void reportRefusedHost(const injector::PatchRefusal& refusal);

// The message itself, into a buffer of `size` bytes (cut to fit).
void describeRefusal(const injector::PatchRefusal& refusal, char* text, unsigned size);
