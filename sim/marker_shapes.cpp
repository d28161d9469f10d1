#include "marker_shapes.h"

#include <iterator>

#include "host/host.h"

namespace sim {

namespace {

const MarkerShape markerShapes[] = {
    {host::site_marker_host_colour, host::marker_draw.address, 15, 2},
    {host::site_marker_faint, host::marker_draw.address, 15, 2},
    {host::site_marker_low, host::marker_draw_ground.address, 7, 1},
    {host::site_marker_high, host::marker_draw_above.address, 8, 2},
};
static_assert(std::size(markerShapes) == markerSiteCount);

} // namespace

const MarkerShape& markerShape(MarkerSite site) { return markerShapes[static_cast<size_t>(site)]; }

} // namespace sim
