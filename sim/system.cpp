#include "system.h"

namespace sim {

void SystemState::holdKeys(const std::set<int>& down)
{
    for (int key : down)
        if (!keysDown.count(key) && !keysToggled.erase(key))
            keysToggled.insert(key);
    keysDown = down;
    keyboardChanged(*this);
}

SystemState& system()
{
    static SystemState state;
    return state;
}

} // namespace sim
