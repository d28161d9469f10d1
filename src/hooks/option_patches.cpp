#include "hooks/option_patches.h"

#include "hooks/camera_routines.h"
#include "hooks/font_routines.h"
#include "hooks/marker_routines.h"
#include "host/host.h"
#include "platform/address.h"
#include "injector/hooking.h"

// Each set is one straight list in installation order, one line per site.

void installFontPatches()
{
    using namespace injector;
    const uint32_t unit = addressOf(&fontUnit);
    write_u32(host::site_font_unit_a, unit);
    write_u32(host::site_font_unit_b, unit);
    write_u32(host::site_font_unit_c, unit);
    write_u32(host::site_font_unit_d, unit);
    write_u32(host::site_font_unit_e, unit);
    write_u32(host::site_font_unit_f, unit);
    write_u32(host::site_font_unit_g, unit);
    write_u32(host::site_font_unit_h, unit);
    write_u32(host::site_font_unit_i, unit);
    write_u32(host::site_font_unit_j, unit);
    write_u32(host::site_font_unit_k, unit);
    write_u32(host::site_font_unit_l, unit);
    write_u32(host::site_font_lines_a, host::screen_height.address);
    write_u32(host::site_font_lines_b, host::screen_height.address);
    write_u32(host::site_font_lines_c, host::screen_height.address);
    write_u32(host::site_font_lines_d, host::screen_height.address);
    write_u32(host::site_font_lines_e, host::screen_height.address);
    write_u32(host::site_font_lines_f, host::screen_height.address);
    redirect_jump(host::text_set_flag_r.address, &SetFontFlags);
    redirect_jump(host::text_set_flag_s.address, &SetFontFlags);
}

void installMarkerPatches()
{
    using namespace injector;
    redirect_call(host::site_marker_host_colour, &DrawHostColourMarker);
    redirect_call(host::site_marker_faint, &DrawYellowMarkerFaint);
    redirect_call(host::site_marker_low, &DrawYellowMarkerLow);
    redirect_call(host::site_marker_high, &DrawYellowMarkerHigh);
}

void installOnFootCameraPatches()
{
    using namespace injector;
    redirect_call(host::site_camera_on_foot, &OnFootCameraPoint);
    // Both fixed-point sites call the same host function; it is kept for when there is no
    // character to aim beside.
    uint32_t first = redirect_call(host::site_camera_fixed_a, &OnFootCameraFixedPoint);
    uint32_t second = redirect_call(host::site_camera_fixed_b, &OnFootCameraFixedPoint);
    hostCameraFixedPoint = first ? first : second;
}

void installVehicleCameraPatches()
{
    injector::redirect_call(host::site_camera_vehicle, &VehicleCameraPoint);
}
