#include "system.h"

namespace sim {

SystemState& system()
{
    static SystemState state;
    return state;
}

} // namespace sim
