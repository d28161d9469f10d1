#pragma once

// The renderer's start and shutdown, for the six sprite tables: each table's dictionary is
// loaded into its own host slot and every sprite bound by name; at shutdown every sprite
// is released and the slot removed.
void loadTextures();
void releaseTextures();
