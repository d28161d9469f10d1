#include "hooks/hook_map.h"

#include "platform/address.h"
#include "state/plugin.h"
#include "hooks/hook_routines.h"
#include "host/host.h"
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

// Each map is one table in installation order, one row per site.

namespace {

using enum injector::PatchKind;
using enum injector::Shape;
using injector::routine_address;

// What the host then pushes at its push imm32 operand sites, instead of its own 2.
constexpr uint32_t pushOperandValue = 5;

injector::PatchRow hudRows[21];
injector::PatchRecord hudRecords[21];
injector::PatchRow radarRows[18];
injector::PatchRecord radarRecords[18];

} // namespace

injector::PatchTable hudHookMap()
{
    const bool radio = plugin.settings.bRadioHud;
    const injector::PatchRow rows[] = {
        {"hud_colours_fill", host::hud_colours_fill.address, Jump, Unchecked, routine_address(&FillHudColourArray)},
        {"site_hud_draw_conditional_jump", host::site_hud_draw_conditional_jump, ShortJump, ConditionalJump, 0},
        {"hud_draw", host::hud_draw.address, Jump, Unchecked, routine_address(&DrawHud)},
        {"site_hud_draw_push_operand", host::site_hud_draw_push_operand, U32, Unchecked, pushOperandValue},
        {"site_zone_name_print", host::site_zone_name_print, Call, HostCall, routine_address(&PrintZoneName)},
        {"site_zone_name_colour", host::site_zone_name_colour, Call, HostCall, routine_address(&SetZoneNameColour)},
        {"site_vehicle_name_print", host::site_vehicle_name_print, Call, HostCall, routine_address(&PrintVehicleName)},
        {"site_vehicle_name_colour", host::site_vehicle_name_colour, Call, HostCall, routine_address(&SetVehicleNameColour)},
        {"site_subtitle_print", host::site_subtitle_print, Call, HostCall, routine_address(&PrintSubtitle)},
        {"site_help_box", host::site_help_box, Call, HostCall, routine_address(&DrawHelpBox)},
        {"site_text_box_fill", host::site_text_box_fill, Call, HostCall, routine_address(&DrawTextBoxBackground)},
        {"site_text_print_box_fill", host::site_text_print_box_fill, Call, HostCall, routine_address(&DrawTextBoxBackground)},
        {"progress_bar", host::progress_bar.address, Jump, Unchecked, routine_address(&DrawProgressBar)},
        {"crosshair_draw", host::crosshair_draw.address, Jump, Unchecked, routine_address(&DrawCrosshair)},
        {"hud_extra_draw", host::hud_extra_draw.address, Jump, Unchecked, routine_address(&DoNothing)},
        {"site_mission_text", host::site_mission_text, Call, HostCall, routine_address(&PrintMissionText)},
        {"site_hud_push_operand_b", host::site_hud_push_operand_b, U32, Unchecked, pushOperandValue},
        {"site_hud_push_operand_a", host::site_hud_push_operand_a, U32, Unchecked, pushOperandValue},
        {"site_draw_routine_conditional_jump", host::site_draw_routine_conditional_jump, ShortJump, ConditionalJump, 0},
        {"radio_display", host::radio_display.address, Jump, Unchecked, routine_address(&DrawRadioHud), radio},
        {"site_radio_store", host::site_radio_store, Nop, Unchecked, 6, radio},
    };
    return injector::make_table(rows, hudRows, hudRecords);
}

injector::PatchTable radarHookMap()
{
    const uint32_t eight = addressOf(&arrowConstantEight);
    const uint32_t four = addressOf(&arrowConstantFour);
    const auto alpha = static_cast<uint32_t>(plugin.settings.iRadarAlpha);
    const injector::PatchRow rows[] = {
        {"site_arrow_constant_a", host::site_arrow_constant_a, U32, Unchecked, eight},
        {"site_arrow_constant_b", host::site_arrow_constant_b, U32, Unchecked, eight},
        {"site_arrow_constant_c", host::site_arrow_constant_c, U32, Unchecked, four},
        {"site_arrow_constant_d", host::site_arrow_constant_d, U32, Unchecked, four},
        {"site_arrow_colour", host::site_arrow_colour, Call, HostCall, routine_address(&MakeArrowColour)},
        {"site_sized_marker", host::site_sized_marker, Call, HostCall, routine_address(&DrawSizedMarker)},
        {"radar_draw_blip_sprite", host::radar_draw_blip_sprite.address, Jump, Unchecked, routine_address(&DrawBlipSprite)},
        {"radar_draw_level_marker", host::radar_draw_level_marker.address, Jump, Unchecked, routine_address(&DrawLevelMarker)},
        {"site_radar_push_operand", host::site_radar_push_operand, U32, Unchecked, pushOperandValue},
        {"site_radar_map_alpha", host::site_radar_map_alpha, U32, Unchecked, alpha},
        {"site_map_blend", host::site_map_blend, Jump, Unchecked, routine_address(&BeginMapBlend)},
        {"site_radar_draw_stores_a", host::site_radar_draw_stores_a, Nop, Unchecked, 16},
        {"site_radar_draw_stores_b", host::site_radar_draw_stores_b, Nop, Unchecked, 16},
        {"site_radar_draw_stores_c", host::site_radar_draw_stores_c, Nop, Unchecked, 16},
        {"site_radar_draw_stores_d", host::site_radar_draw_stores_d, Nop, Unchecked, 16},
        {"site_gang_overlay_colour", host::site_gang_overlay_colour, Call, HostCall, routine_address(&MakeGangOverlayColour)},
        {"radar_to_screen", host::radar_to_screen.address, Jump, Unchecked, routine_address(&RadarToScreen)},
        {"radar_draw", host::radar_draw.address, Jump, Unchecked, routine_address(&DrawRadar)},
    };
    return injector::make_table(rows, radarRows, radarRecords);
}
