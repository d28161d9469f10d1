#include "substitutes.h"

// The host's texture dictionaries, sprites and files.

namespace sim {

void registerTextureSubstitutes() {}

} // namespace sim
