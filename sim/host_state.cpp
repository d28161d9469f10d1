#include "host_state.h"

namespace sim {

HostState& hostState()
{
    static HostState state;
    return state;
}

} // namespace sim
