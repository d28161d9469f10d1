#pragma once

#include <cstdint>

// ---------------------------------------------------------------------------------------
// ADDRESSES CHOSEN BY THIS PROJECT
//
// The host operations below have no address fixed by what we know of the host. Each one
// was given an address here, in the same region of the host image as its relatives (code
// in 0x40A000..0x857FFF, data in 0x858000..0xCFFFFF), at least 16 bytes from every other
// host operation and well clear of every patched site. The same goes for the record
// field offsets and record sizes at the end. Everything else in host.h uses the host's own
// addresses. When a real address becomes known with certainty, change it here and nowhere
// else, and for a function its entry bytes too (docs/host-table.md says how).
// ---------------------------------------------------------------------------------------

namespace host::chosen {

// ---- Code ----------------------------------------------------------------------------

// What a host must hold at the entry of a routine whose address is ours, before the plug-in
// calls it: `bytes` where `mask` is 0xFF, anything where it is 0. The start-up compares every
// entry below with the game's code and calls nothing in the host unless all of them match.
constexpr uint32_t entry_size = 8;
struct Entry {
    uint8_t bytes[entry_size];
    uint8_t mask[entry_size];
};

// A routine nobody has matched in the game yet. The simulated host puts its jump to the
// routine's stand-in in the five free bytes, and after it an ud2 and an int3: no compiled
// routine in a game begins with a jump followed by those, so a game's code never passes
// for an unconfirmed routine, and the plug-in refuses to start rather than call it.
inline constexpr Entry unconfirmed = {{0xE9, 0, 0, 0, 0, 0x0F, 0x0B, 0xCC}, {0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF}};

// X(name, address, entry): the host functions at addresses of ours, with what their entry holds.
#define HOST_CHOSEN_FUNCTIONS(X) \
    /* Host functions called at the seven event sites. */                                     \
    X(frame_process, 0x53BEE0, unconfirmed)                                                   \
    X(draw_overlay, 0x53E1A0, unconfirmed)                                                    \
    X(draw_tail, 0x57C100, unconfirmed)                                                       \
    X(radar_draw_overlay, 0x575B00, unconfirmed)                                              \
    X(renderer_start, 0x5BF210, unconfirmed)                                                  \
    X(renderer_shutdown, 0x53D800, unconfirmed)                                               \
    /* Text: setters beside the host's other text setters, measuring beside the printers. */  \
    X(text_set_alpha, 0x7194C0, unconfirmed)                                                  \
    X(text_set_box_colour, 0x719540, unconfirmed)                                             \
    X(text_set_width_a, 0x719640, unconfirmed)                                                \
    X(text_set_width_b, 0x719660, unconfirmed)                                                \
    X(text_set_width_c, 0x719680, unconfirmed)                                                \
    X(text_width, 0x71A0C0, unconfirmed)                                                      \
    X(text_line_count, 0x71A1C0, unconfirmed)                                                 \
    X(text_lookup, 0x6A0D40, unconfirmed)                                                     \
    X(text_equal, 0x69A0C0, unconfirmed)                                                      \
    X(text_copy, 0x69A140, unconfirmed)                                                       \
    /* Sprites, vectors, immediate-mode drawing, markers. */                                  \
    X(sprite_construct, 0x727230, unconfirmed)                                                \
    X(sprite_set_texture, 0x7272A0, unconfirmed)                                              \
    X(sprite_release, 0x727320, unconfirmed)                                                  \
    X(fill_rect_4, 0x727BC0, unconfirmed)                                                     \
    X(sprite_destruct, 0x7281E0, unconfirmed)                                                 \
    X(sprite_draw_xywh, 0x7283A0, unconfirmed)                                                \
    X(sprite_draw_uv, 0x728420, unconfirmed)                                                  \
    X(sprite_draw_quad, 0x7284A0, unconfirmed)                                                \
    X(im2d_draw, 0x7346C0, unconfirmed)                                                       \
    X(marker_draw, 0x7254A0, unconfirmed)                                                     \
    X(marker_draw_ground, 0x725520, unconfirmed)                                              \
    X(marker_draw_above, 0x7255A0, unconfirmed)                                               \
    /* Near the start of the code region, which begins at 0x40A000. */                        \
    X(vector2_assign, 0x40B0A0, unconfirmed)                                                  \
    X(vector2_length, 0x40B120, unconfirmed)                                                  \
    X(vector3_make, 0x40B1A0, unconfirmed)                                                    \
    /* Graphics device. */                                                                    \
    X(device_caps, 0x7F9A80, unconfirmed)                                                     \
    /* Texture dictionaries and files. */                                                     \
    X(txd_add_slot, 0x731C80, unconfirmed)                                                    \
    X(txd_load, 0x731D00, unconfirmed)                                                        \
    X(txd_add_ref, 0x731D80, unconfirmed)                                                     \
    X(txd_push_current, 0x731E00, unconfirmed)                                                \
    X(txd_set_current, 0x731E40, unconfirmed)                                                 \
    X(txd_pop_current, 0x731E80, unconfirmed)                                                 \
    X(txd_find_slot, 0x731EC0, unconfirmed)                                                   \
    X(txd_remove_slot, 0x731F00, unconfirmed)                                                 \
    X(file_open, 0x538A40, unconfirmed)                                                       \
    /* Player, pad, weapons, statistics, world. */                                            \
    X(player_character, 0x56E0A0, unconfirmed)                                                \
    X(player_vehicle, 0x56E120, unconfirmed)                                                  \
    X(player_position, 0x56E1A0, unconfirmed)                                                 \
    X(player_wanted, 0x56E220, unconfirmed)                                                   \
    X(pad_get, 0x53FB60, unconfirmed)                                                         \
    X(pad_weapon_cue_a, 0x540BE0, unconfirmed)                                                \
    X(pad_weapon_cue_b, 0x540C40, unconfirmed)                                                \
    X(pad_ammo_cue, 0x540CA0, unconfirmed)                                                    \
    X(pad_phone_cue, 0x540D00, unconfirmed)                                                   \
    X(character_weapon_skill, 0x5E3C40, unconfirmed)                                          \
    X(weapon_info, 0x743CA0, unconfirmed)                                                     \
    X(stat_value, 0x558E80, unconfirmed)                                                      \
    X(stat_limit, 0x558F00, unconfirmed)                                                      \
    X(entity_offset_to_world, 0x533600, unconfirmed)                                          \
    X(path_search, 0x4515A0, unconfirmed)                                                     \
    X(path_node, 0x4516C0, unconfirmed)                                                       \
    X(path_node_position, 0x451740, unconfirmed)                                              \
    /* Radar and map screen. */                                                               \
    X(world_to_radar, 0x583600, unconfirmed)                                                  \
    X(map_point_prepare, 0x583700, unconfirmed)                                               \
    X(map_screen_adjust, 0x583780, unconfirmed)                                               \
    X(radar_sprite_check, 0x585A40, unconfirmed)                                              \
    X(radar_sprite_drawn, 0x585B00, unconfirmed)                                              \
    X(radar_draw_map, 0x586200, unconfirmed)                                                  \
    X(radar_draw_sized_marker, 0x5876C0, unconfirmed)                                         \
    X(radar_clear_trace, 0x587A60, unconfirmed)                                               \
    X(radar_draw_blips, 0x588D40, unconfirmed)                                                \
    /* Camera. */                                                                             \
    X(camera_point_a, 0x5204A0, unconfirmed)                                                  \
    X(camera_point_b, 0x520520, unconfirmed)                                                  \
    X(camera_point_fixed, 0x5205A0, unconfirmed)                                              \
    /* HUD: the host's help-box routine, called from the help-box site. */                    \
    X(help_box_draw, 0x58B5A0, unconfirmed)                                                   \
    /* Radio, sound. */                                                                       \
    X(radio_change_ready, 0x4EA0A0, unconfirmed)                                              \
    X(play_sound, 0x4EB240, unconfirmed)                                                      \

#define HOST_DECLARE_CHOSEN_ADDRESS(name, address, entry) \
    constexpr uint32_t name = address;                     \
    inline constexpr const Entry& name##_entry = entry;
HOST_CHOSEN_FUNCTIONS(HOST_DECLARE_CHOSEN_ADDRESS)
#undef HOST_DECLARE_CHOSEN_ADDRESS

// ---- Data -----------------------------------------------------------------------------

// Clock.
constexpr uint32_t clock_hours = 0xB70150;         // u8
constexpr uint32_t clock_minutes = 0xB70151;       // u8
constexpr uint32_t clock_day_of_week = 0xB70152;   // u8
constexpr uint32_t time_ms_alt = 0xB7CB50;         // u32
constexpr uint32_t time_step = 0xB7CB58;           // f32

// Players.
constexpr uint32_t current_player_index = 0xB7CD70; // i32

// Camera: three records of camera_record_size bytes, then the scalars.
constexpr uint32_t camera_records = 0xB6F100;
constexpr uint32_t camera_active_index = 0xB6F1E0; // i32
constexpr uint32_t camera_flag_c = 0xB6F1E4;       // u8
constexpr uint32_t camera_flag_d = 0xB6F1E8;       // u8
constexpr uint32_t camera_scalar = 0xB6F1F0;       // f32
constexpr uint32_t crosshair_x_fraction = 0xB6F200; // f32
constexpr uint32_t crosshair_y_fraction = 0xB6F204; // f32

// Map screen and radar state record (menu_state_size bytes).
constexpr uint32_t menu_state = 0xBA6740;

// HUD texts and their state, behind the radar sprite array.
constexpr uint32_t zone_name_text = 0xBAB040;      // 64 bytes
constexpr uint32_t vehicle_name_text = 0xBAB0C0;   // 64 bytes
constexpr uint32_t mission_text = 0xBAB140;        // 400 bytes
constexpr uint32_t zone_name_state_a = 0xBAB300;   // i32
constexpr uint32_t zone_name_state_b = 0xBAB304;   // i32
constexpr uint32_t vehicle_name_state_a = 0xBAB308; // i32
constexpr uint32_t vehicle_name_state_b = 0xBAB30C; // i32
constexpr uint32_t hud_block_flag_a = 0xBAB320;    // u8
constexpr uint32_t hud_block_flag_b = 0xBAB324;    // u8
constexpr uint32_t hud_block_flag_c = 0xBAB328;    // u8

// Help box.
constexpr uint32_t help_text = 0xBAB400;           // 400 bytes
constexpr uint32_t help_last_text = 0xBAB5C0;      // 400 bytes
constexpr uint32_t help_shown_text = 0xBAB780;     // 400 bytes
constexpr uint32_t stat_key_text = 0xBAB940;       // 16 bytes
constexpr uint32_t help_state = 0xBAB960;          // i32
constexpr uint32_t help_elapsed = 0xBAB964;        // i32
constexpr uint32_t help_fade = 0xBAB968;           // i32
constexpr uint32_t help_lines = 0xBAB96C;          // i32
constexpr uint32_t help_stat_id = 0xBAB970;        // i32
constexpr uint32_t help_box_width = 0xBAB974;      // f32
constexpr uint32_t help_box_offset = 0xBAB978;     // f32
constexpr uint32_t help_permanent = 0xBAB980;      // u8
constexpr uint32_t help_quick = 0xBAB981;          // u8
constexpr uint32_t help_hide_flag = 0xBAB982;      // u8
constexpr uint32_t help_block_a = 0xBAB984;        // u8
constexpr uint32_t help_block_b = 0xBAB985;        // u8
constexpr uint32_t help_block_c = 0xBAB986;        // u8

// Text engine.
constexpr uint32_t text_table = 0xC1B340;          // the table object itself
constexpr uint32_t text_flag_byte_a = 0xC71A40;    // u8
constexpr uint32_t text_flag_byte_b = 0xC71A44;    // u8
constexpr uint32_t text_flag_byte_c = 0xC71A48;    // u8

// Immediate-mode drawing, beside the render engine and device pointers.
constexpr uint32_t im2d_depth = 0xC97D40;          // f32
constexpr uint32_t im2d_recip_depth = 0xC97D44;    // f32

// ---- Record layouts -------------------------------------------------------------------

// Character: behind the weapon slots that start at +0x5A0.
constexpr uint32_t character_weapon_slot_count = 13;
constexpr uint32_t character_current_slot = 0x720;    // u8
constexpr uint32_t character_crosshair_block = 0x728; // u8

// Weapon types the host keeps a weapon record for: 0 up to this count, exclusive.
constexpr uint32_t weapon_type_count = 47;

// Radio object.
constexpr uint32_t radio_station = 0x10;        // i32
constexpr uint32_t radio_station_step = 0x14;   // i8
constexpr uint32_t radio_change_flag = 0x15;    // u8
constexpr uint32_t radio_display_until = 0x18;  // u32

// Camera records: the mode is the u16 at the start of each.
constexpr uint32_t camera_record_size = 0x40;
constexpr uint32_t camera_record_count = 3;

// ---------------------------------------------------------------------------------------
// TEXTURE NAMES AND FILES CHOSEN BY THIS PROJECT
//
// The host looks textures up by name in dictionaries that the plug-in substitutes for its
// own (its font dictionary and its blip dictionary), so the plug-in's files must hold
// every name the host asks for. The host's own names are not known; these are ours, and
// the generated dictionaries and the simulated host both take them from here. The host's
// own slot names and file paths (relative to the host's folder) are chosen the same way;
// the plug-in never uses them, it only replaces the loads.
// ---------------------------------------------------------------------------------------

// Blip dictionary: the host fills host::radar_sprites[id] with the texture named at index
// id (id 0 stays empty). The radar's roll indicator draws slot radar_roll_sprite.
inline constexpr const char* radar_sprite_names[] = {
    nullptr,          "radar_north",    "radar_centre",   "radar_target",   "radar_waypoint",
    "radar_save",     "radar_police",   "radar_hospital", "radar_weapons",  "radar_garage",
    "radar_mission",
};
constexpr uint32_t radar_sprite_name_count = sizeof radar_sprite_names / sizeof radar_sprite_names[0];
constexpr uint32_t radar_roll_sprite = 2;

// Font dictionary: one texture per font sheet, in the host's font order.
inline constexpr const char* font_texture_names[] = {"font1", "font2"};
constexpr uint32_t font_texture_count = sizeof font_texture_names / sizeof font_texture_names[0];

// The host's own dictionary slots and files, as its loading code names them.
inline constexpr const char* font_slot_name = "fonts";
inline constexpr const char* font_dictionary_file = "models\\fonts.txd";
inline constexpr const char* font_data_file = "data\\fonts.dat";
inline constexpr const char* blip_slot_name = "hud";
inline constexpr const char* blip_dictionary_file = "models\\hud.txd";

} // namespace host::chosen
