#include "textures.h"

namespace sim {

// No dictionary is loaded yet, so no sprite holds a texture.
const char* textureName(uint32_t) { return nullptr; }

} // namespace sim
