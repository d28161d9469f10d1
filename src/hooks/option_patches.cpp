#include "hooks/option_patches.h"

#include "hooks/camera_routines.h"
#include "hooks/font_routines.h"
#include "hooks/marker_routines.h"
#include "host/host.h"
#include "injector/hooking.h"
#include "platform/address.h"

// Each set is one table in installation order, one row per site.

namespace {

using enum injector::PatchKind;
using enum injector::Shape;
using injector::routine_address;

injector::PatchRow fontRows[20];
injector::PatchRecord fontRecords[20];
injector::PatchRow markerRows[4];
injector::PatchRecord markerRecords[4];
injector::PatchRow onFootCameraRows[3];
injector::PatchRow vehicleCameraRows[1];
injector::PatchRecord vehicleCameraRecords[1];

} // namespace

injector::PatchTable fontPatches()
{
    const uint32_t unit = addressOf(&fontUnit);
    const uint32_t lines = host::screen_height.address;
    const injector::PatchRow rows[] = {
        {"site_font_unit_a", host::site_font_unit_a, U32, Unchecked, unit},
        {"site_font_unit_b", host::site_font_unit_b, U32, Unchecked, unit},
        {"site_font_unit_c", host::site_font_unit_c, U32, Unchecked, unit},
        {"site_font_unit_d", host::site_font_unit_d, U32, Unchecked, unit},
        {"site_font_unit_e", host::site_font_unit_e, U32, Unchecked, unit},
        {"site_font_unit_f", host::site_font_unit_f, U32, Unchecked, unit},
        {"site_font_unit_g", host::site_font_unit_g, U32, Unchecked, unit},
        {"site_font_unit_h", host::site_font_unit_h, U32, Unchecked, unit},
        {"site_font_unit_i", host::site_font_unit_i, U32, Unchecked, unit},
        {"site_font_unit_j", host::site_font_unit_j, U32, Unchecked, unit},
        {"site_font_unit_k", host::site_font_unit_k, U32, Unchecked, unit},
        {"site_font_unit_l", host::site_font_unit_l, U32, Unchecked, unit},
        {"site_font_lines_a", host::site_font_lines_a, U32, Unchecked, lines},
        {"site_font_lines_b", host::site_font_lines_b, U32, Unchecked, lines},
        {"site_font_lines_c", host::site_font_lines_c, U32, Unchecked, lines},
        {"site_font_lines_d", host::site_font_lines_d, U32, Unchecked, lines},
        {"site_font_lines_e", host::site_font_lines_e, U32, Unchecked, lines},
        {"site_font_lines_f", host::site_font_lines_f, U32, Unchecked, lines},
        {"text_set_flag_r", host::text_set_flag_r.address, Jump, Unchecked, routine_address(&SetFontFlags)},
        {"text_set_flag_s", host::text_set_flag_s.address, Jump, Unchecked, routine_address(&SetFontFlags)},
    };
    return injector::make_table(rows, fontRows, fontRecords);
}

injector::PatchTable markerPatches()
{
    const injector::PatchRow rows[] = {
        {"site_marker_host_colour", host::site_marker_host_colour, Call, HostCall, routine_address(&DrawHostColourMarker)},
        {"site_marker_faint", host::site_marker_faint, Call, HostCall, routine_address(&DrawYellowMarkerFaint)},
        {"site_marker_low", host::site_marker_low, Call, HostCall, routine_address(&DrawYellowMarkerLow)},
        {"site_marker_high", host::site_marker_high, Call, HostCall, routine_address(&DrawYellowMarkerHigh)},
    };
    return injector::make_table(rows, markerRows, markerRecords);
}

injector::PatchTable onFootCameraPatches()
{
    // The fixed-point rows' former destinations stay in the records for the camera routines.
    const injector::PatchRow rows[] = {
        {"site_camera_on_foot", host::site_camera_on_foot, Call, HostCall, routine_address(&OnFootCameraPoint)},
        {"site_camera_fixed_a", host::site_camera_fixed_a, Call, HostCall, routine_address(&OnFootCameraFixedPoint)},
        {"site_camera_fixed_b", host::site_camera_fixed_b, Call, HostCall, routine_address(&OnFootCameraFixedPoint)},
    };
    return injector::make_table(rows, onFootCameraRows, onFootCameraRecords);
}

injector::PatchTable vehicleCameraPatches()
{
    const injector::PatchRow rows[] = {
        {"site_camera_vehicle", host::site_camera_vehicle, Call, HostCall, routine_address(&VehicleCameraPoint)},
    };
    return injector::make_table(rows, vehicleCameraRows, vehicleCameraRecords);
}
