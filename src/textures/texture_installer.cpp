#include "textures/texture_installer.h"

// Written together with the texture loading it subscribes.
void installTextures() {}
