#include "radar/map_screen.h"

#include "host/host.h"

namespace {

uint32_t menuField(uint32_t offset) { return host::menu_state.address + offset; }

} // namespace

MapView mapView()
{
    return {host::load<float>(menuField(host::menu_map_scale)), host::load<float>(menuField(host::menu_map_origin_x)),
            host::load<float>(menuField(host::menu_map_origin_y))};
}

void mapFrameToScreen(float& x, float& y)
{
    // 1 / 640 and 1 / 448, each product taken in double precision as the host does.
    x = static_cast<float>(host::screen_width.get() * 0.0015625 * x);
    y = static_cast<float>(host::screen_height.get() * 0.002232143 * y);
    host::map_screen_adjust(&x, &y);
}
