#include "hooks/hook_map.h"

#include "state/plugin.h"
#include "hooks/hook_routines.h"
#include "host/host.h"
#include "platform/address.h"
#include "hud/area_names.h"
#include "hud/crosshair.h"
#include "hud/draw_hud.h"
#include "hud/radio_hud.h"
#include "hud/help_box.h"
#include "hud/subtitles.h"
#include "hud/text_box.h"
#include "hud/progress_bar.h"
#include "injector/hooking.h"
#include "radar/blips.h"
#include "radar/draw_radar.h"
#include "radar/map_blend.h"
#include "radar/radar_transform.h"

// Each map is one straight list in installation order, one line per site. A site whose
// routine is not written yet stays commented out in its place.

namespace {

// The value several rows write over a 32-bit operand of the host's code.
constexpr uint32_t operandFive = 5;

} // namespace

void installHudHookMap()
{
    using namespace injector;
    redirect_jump(host::hud_colours_fill.address, &FillHudColourArray);
    write_u8(host::site_hud_branch_a, 0xEB);
    redirect_jump(host::hud_draw.address, &DrawHud);
    write_u32(host::site_hud_value_a, operandFive);
    redirect_call(host::site_zone_name_print, &PrintZoneName);
    redirect_call(host::site_zone_name_colour, &SetZoneNameColour);
    redirect_call(host::site_vehicle_name_print, &PrintVehicleName);
    redirect_call(host::site_vehicle_name_colour, &SetVehicleNameColour);
    redirect_call(host::site_subtitle_print, &PrintSubtitle);
    redirect_call(host::site_help_box, &DrawHelpBox);
    redirect_call(host::site_text_box_a, &DrawTextBoxBackground);
    redirect_call(host::site_text_box_b, &DrawTextBoxBackground);
    redirect_jump(host::progress_bar.address, &DrawProgressBar);
    redirect_jump(host::crosshair_draw.address, &DrawCrosshair);
    redirect_jump(host::hud_extra_draw.address, &DoNothing);
    redirect_call(host::site_mission_text, &PrintMissionText);
    write_u32(host::site_hud_value_b, operandFive);
    write_u32(host::site_hud_value_c, operandFive);
    write_u8(host::site_hud_branch_b, 0xEB);
    if (plugin.settings.bRadioHud) {
        redirect_jump(host::radio_display.address, &DrawRadioHud);
        fill_nop(host::site_radio_store, 6);
    }
}

void installRadarHookMap()
{
    using namespace injector;
    write_u32(host::site_arrow_constant_a, addressOf(&arrowConstantEight));
    write_u32(host::site_arrow_constant_b, addressOf(&arrowConstantEight));
    write_u32(host::site_arrow_constant_c, addressOf(&arrowConstantFour));
    write_u32(host::site_arrow_constant_d, addressOf(&arrowConstantFour));
    redirect_call(host::site_arrow_colour, &MakeArrowColour);
    redirect_call(host::site_sized_marker, &DrawSizedMarker);
    redirect_jump(host::radar_draw_blip_sprite.address, &DrawBlipSprite);
    redirect_jump(host::radar_draw_level_marker.address, &DrawLevelMarker);
    write_u32(host::site_radar_value, operandFive);
    write_u32(host::site_radar_map_alpha, static_cast<uint32_t>(plugin.settings.iRadarAlpha));
    redirect_jump(host::site_map_blend, &BeginMapBlend);
    fill_nop(host::site_radar_run_a, 16);
    fill_nop(host::site_radar_run_b, 16);
    fill_nop(host::site_radar_run_c, 16);
    fill_nop(host::site_radar_run_d, 16);
    redirect_call(host::site_gang_overlay_colour, &MakeGangOverlayColour);
    redirect_jump(host::radar_to_screen.address, &RadarToScreen);
    redirect_jump(host::radar_draw.address, &DrawRadar);
}
