#include "host_frame.h"

#include <set>

#include "host/host.h"
#include "host_image.h"
#include "host_sites.h"
#include "system.h"
#include "trace.h"

namespace sim {

void applyScenarioStart(const Scenario& scenario)
{
    hostWrite<int32_t>(host::screen_width.address, scenario.width);
    hostWrite<int32_t>(host::screen_height.address, scenario.height);
    hostWrite<uint32_t>(host::time_ms.address, scenario.startMs);
    system().loadedModules = scenario.modules;
}

void applyFrame(const Scenario& scenario, int frame)
{
    trace::frame = frame;
    hostWrite<uint32_t>(host::time_ms.address, scenario.timeAt(frame));
    std::set<int> down;
    for (const KeyHold& hold : scenario.keys)
        if (hold.frames.holds(frame))
            down.insert(hold.key);
    system().holdKeys(down);
}

void runHostFrame(const Scenario& scenario, int frame)
{
    // Game logic first, then the radar, then the overlays at the end of drawing.
    reachFrameProcess();
    reachRadarDrawA(true);
    if (scenario.mapScreenShown(frame))
        reachRadarDrawB(true);
    reachDraw();
    reachDrawTail();
}

} // namespace sim
