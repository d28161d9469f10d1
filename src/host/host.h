#pragma once

#include <cstdint>

#include "host/call.h"
#include "host/chosen_addresses.h"
#include "host/types.h"

// Every host function, datum, record field and patch site the plug-in uses, declared once
// by address, each with where its address comes from: Given (what we know of the host) or
// Chosen (ours, in host/chosen_addresses.h, where each chosen function also has the entry
// bytes the start-up checks before the plug-in calls anything). Functions are cdecl unless
// declared Thiscall (object pointer first). Each list below is also read by the simulated
// host, which installs its substitutes and names the operations of its trace from the same
// entries. Host records whose layout is the host's travel as void*; the offsets the plug-in
// reads in them follow the lists.

// X(name, origin, address, convention, signature)
#define HOST_FUNCTIONS(X)                                                                       \
    /* Text: each setting holds until it is changed; host/text_style.h names the modes */       \
    X(text_set_scale, Given, 0x719380, Cdecl, void(float sx, float sy))                                \
    X(text_set_colour, Given, 0x719430, Cdecl, void(Colour colour))                                    \
    X(text_set_second_colour, Given, 0x719510, Cdecl, void(Colour colour))                             \
    X(text_set_box_colour, Chosen, host::chosen::text_set_box_colour, Cdecl, void(Colour colour))             \
    X(text_set_alpha, Chosen, host::chosen::text_set_alpha, Cdecl, void(float alpha))                         \
    X(text_set_font, Given, 0x719490, Cdecl, void(int32_t font))                                       \
    X(text_set_alignment, Given, 0x719610, Cdecl, void(int32_t mode))                                  \
    X(text_set_mode_pair, Given, 0x7195C0, Cdecl, void(int32_t a, int32_t b))                          \
    X(text_set_flag_p, Given, 0x7195B0, Cdecl, void(uint8_t value))                                    \
    X(text_set_flag_q, Given, 0x719600, Cdecl, void(uint8_t value))                                    \
    X(text_set_flag_r, Given, 0x719590, Cdecl, void(uint8_t value))                                    \
    X(text_set_flag_s, Given, 0x719570, Cdecl, void(uint8_t value))                                    \
    X(text_set_width_a, Chosen, host::chosen::text_set_width_a, Cdecl, void(float width))                     \
    X(text_set_width_b, Chosen, host::chosen::text_set_width_b, Cdecl, void(float width))                     \
    X(text_set_width_c, Chosen, host::chosen::text_set_width_c, Cdecl, void(float width))                     \
    X(text_print, Given, 0x71A700, Cdecl, void(float x, float y, const char* text))                    \
    X(text_print_b, Given, 0x71A820, Cdecl, void(float x, float y, const char* text))                  \
    X(text_width, Chosen, host::chosen::text_width, Cdecl, float(const char* text, uint8_t a, uint8_t b))     \
    X(text_line_count, Chosen, host::chosen::text_line_count, Cdecl, int32_t(float x, float y, const char* text)) \
    X(text_lookup, Chosen, host::chosen::text_lookup, Thiscall, const char*(void* table, const char* key))    \
    X(text_equal, Chosen, host::chosen::text_equal, Cdecl, bool(const char* a, const char* b, int32_t length)) \
    X(text_copy, Chosen, host::chosen::text_copy, Cdecl, void(char* to, const char* from))                    \
    /* Shapes, sprites */                                                                       \
    X(make_colour, Given, 0x7170C0, Thiscall, Colour*(Colour* self, uint8_t r, uint8_t g, uint8_t b, uint8_t a)) \
    X(make_rect, Given, 0x4041C0, Thiscall, Rect*(Rect* self, float left, float top, float right, float bottom)) \
    X(fill_rect, Given, 0x727B60, Cdecl, void(const Rect* rect, const Colour* colour))                 \
    X(fill_rect_4, Chosen, host::chosen::fill_rect_4, Cdecl, void(                                            \
        const Rect* rect, const Colour* c1, const Colour* c2, const Colour* c3,                 \
        const Colour* c4))                                                                      \
    X(sprite_construct, Chosen, host::chosen::sprite_construct, Thiscall, void(Sprite* self))                 \
    X(sprite_destruct, Chosen, host::chosen::sprite_destruct, Thiscall, void(Sprite* self))                   \
    X(sprite_set_texture, Chosen, host::chosen::sprite_set_texture, Thiscall, void(Sprite* self, const char* name)) \
    X(sprite_release, Chosen, host::chosen::sprite_release, Thiscall, void(Sprite* self))                     \
    X(sprite_draw, Given, 0x728350, Thiscall, void(Sprite* self, const Rect* rect, const Colour* colour)) \
    X(sprite_draw_xywh, Chosen, host::chosen::sprite_draw_xywh, Thiscall, void(                               \
        Sprite* self, float x, float y, float w, float h, const Colour* colour))                \
    X(sprite_draw_uv, Chosen, host::chosen::sprite_draw_uv, Thiscall, void(                                   \
        Sprite* self, const Rect* rect, const Colour* colour, float u0, float v0, float u1,     \
        float v1, float u2, float v2, float u3, float v3))                                      \
    X(sprite_draw_quad, Chosen, host::chosen::sprite_draw_quad, Thiscall, void(                               \
        Sprite* self, float x0, float y0, float x1, float y1, float x2, float y2, float x3,     \
        float y3, const Colour* colour))                                                        \
    X(im2d_draw, Chosen, host::chosen::im2d_draw, Cdecl, void(int32_t primitive, const void* vertices, int32_t count)) \
    X(vector2_assign, Chosen, host::chosen::vector2_assign, Thiscall, Vec2*(Vec2* self, const Vec2* from))    \
    X(vector2_length, Chosen, host::chosen::vector2_length, Thiscall, float(const Vec2* self))                \
    X(vector3_make, Chosen, host::chosen::vector3_make, Thiscall, Vec3*(Vec3* self, float x, float y, float z)) \
    /* Graphics device: its capability record */                                                \
    X(device_caps, Chosen, host::chosen::device_caps, Cdecl, const void*())                                   \
    /* Texture dictionaries: slots by name; a pushed current dictionary is restored by pop */   \
    X(txd_add_slot, Chosen, host::chosen::txd_add_slot, Cdecl, int32_t(const char* name))                     \
    X(txd_load, Chosen, host::chosen::txd_load, Cdecl, bool(int32_t slot, const char* path))                  \
    X(txd_add_ref, Chosen, host::chosen::txd_add_ref, Cdecl, void(int32_t slot))                              \
    X(txd_push_current, Chosen, host::chosen::txd_push_current, Cdecl, void())                                \
    X(txd_set_current, Chosen, host::chosen::txd_set_current, Cdecl, void(int32_t slot))                      \
    X(txd_pop_current, Chosen, host::chosen::txd_pop_current, Cdecl, void())                                  \
    X(txd_find_slot, Chosen, host::chosen::txd_find_slot, Cdecl, int32_t(const char* name))                   \
    X(txd_remove_slot, Chosen, host::chosen::txd_remove_slot, Cdecl, void(int32_t slot))                      \
    /* Player and world: zero where nothing exists */                                           \
    X(player_character, Chosen, host::chosen::player_character, Cdecl, void*(int32_t player))                 \
    X(player_vehicle, Chosen, host::chosen::player_vehicle, Cdecl, void*(int32_t player, int32_t mode))       \
    X(player_position, Chosen, host::chosen::player_position, Cdecl, Vec3*(Vec3* out, int32_t player))        \
    X(player_wanted, Chosen, host::chosen::player_wanted, Cdecl, void*(int32_t player))                       \
    X(pad_get, Chosen, host::chosen::pad_get, Cdecl, void*(int32_t pad))                                      \
    X(pad_weapon_cue_a, Chosen, host::chosen::pad_weapon_cue_a, Thiscall, bool(void* pad))                    \
    X(pad_weapon_cue_b, Chosen, host::chosen::pad_weapon_cue_b, Thiscall, bool(void* pad))                    \
    X(pad_ammo_cue, Chosen, host::chosen::pad_ammo_cue, Thiscall, bool(void* pad))                            \
    X(pad_phone_cue, Chosen, host::chosen::pad_phone_cue, Thiscall, bool(void* pad, void* character))         \
    X(character_weapon_skill, Chosen, host::chosen::character_weapon_skill, Thiscall, uint8_t(void* character)) \
    X(weapon_info, Chosen, host::chosen::weapon_info, Cdecl, void*(int32_t type, uint8_t skill))              \
    X(stat_value, Chosen, host::chosen::stat_value, Cdecl, float(int32_t stat))                               \
    X(stat_limit, Chosen, host::chosen::stat_limit, Cdecl, float(int32_t stat))                               \
    X(entity_offset_to_world, Chosen, host::chosen::entity_offset_to_world, Thiscall, Vec3*(                  \
        void* entity, Vec3* out, const Vec3* offset))                                           \
    X(marker_draw, Chosen, host::chosen::marker_draw, Cdecl, void(                                            \
        int32_t a1, uint32_t a2, const Vec3* position, float size, uint8_t r, uint8_t g,        \
        uint8_t b, uint8_t a, float f9, float f10, uint8_t a11, uint32_t a12, uint32_t a13,     \
        uint32_t a14, uint32_t a15))                                                            \
    X(marker_draw_ground, Chosen, host::chosen::marker_draw_ground, Cdecl, void(                              \
        int32_t kind, const Vec3* position, float size, uint8_t r, uint8_t g, uint8_t b,        \
        uint8_t a))                                                                             \
    X(marker_draw_above, Chosen, host::chosen::marker_draw_above, Cdecl, void(                                \
        int32_t a1, uint32_t kind, const Vec3* position, float size, uint8_t r, uint8_t g,      \
        uint8_t b, uint8_t a))                                                                  \
    /* Road route: methods of the path object, nineteen stack words for the search */           \
    X(path_search, Chosen, host::chosen::path_search, Thiscall, void(                                         \
        void* paths, uint32_t a1, float x, float y, float z, uint32_t start_node, float tx,     \
        float ty, float tz, uint32_t* nodes, int16_t* count, int32_t max_nodes,                 \
        float* distance, float range_a, uint32_t a14, float range_b, uint32_t a16,              \
        uint32_t target_node, uint32_t a18, uint32_t a19))                                      \
    X(path_node, Chosen, host::chosen::path_node, Thiscall, void*(void* paths, uint32_t node))                \
    X(path_node_position, Chosen, host::chosen::path_node_position, Thiscall, void(void* node, Vec3* out))    \
    /* Messages, files, sound */                                                                \
    X(show_help_message, Given, 0x588BE0, Cdecl, void(const char* text, uint8_t a, uint8_t b, uint8_t c)) \
    X(file_open, Chosen, host::chosen::file_open, Cdecl, int32_t(const char* path, const char* mode))         \
    X(play_sound, Chosen, host::chosen::play_sound, Cdecl, void(int32_t sound, int32_t a, float factor))      \
    /* HUD routines the plug-in replaces whole; still callable at their address */              \
    X(hud_draw, Given, 0x58EAF0, Cdecl, void())                                                        \
    X(hud_colours_fill, Given, 0x58FDA0, Thiscall, void(Colour* colours))                              \
    X(hud_extra_draw, Given, 0x514860, Cdecl, void())                                                  \
    X(help_box_draw, Chosen, host::chosen::help_box_draw, Cdecl, void())                                \
    X(progress_bar, Given, 0x728640, Cdecl, void(                                                      \
        float x, float y, uint16_t width, uint8_t height, float percent, int8_t segment,        \
        uint8_t show_text, uint8_t frame, Colour colour1, Colour colour2))                      \
    X(crosshair_draw, Given, 0x58E020, Cdecl, void())                                                  \
    X(radio_display, Given, 0x4E9E50, Thiscall, void(void* radio))                                     \
    X(radio_change_ready, Chosen, host::chosen::radio_change_ready, Thiscall, bool(void* radio))              \
    /* Radar: the map and blip layers are called with a null object */                          \
    X(radar_draw, Given, 0x58A330, Cdecl, void())                                                      \
    X(radar_draw_map, Chosen, host::chosen::radar_draw_map, Thiscall, void(void* self))                       \
    X(radar_draw_blips, Chosen, host::chosen::radar_draw_blips, Thiscall, void(void* self))                   \
    X(radar_to_screen, Given, 0x583480, Cdecl, void(Vec2* out, const Vec2* in))                        \
    X(radar_draw_blip_sprite, Given, 0x585FF0, Cdecl, void(uint8_t id, float x, float y, uint8_t alpha)) \
    X(radar_draw_level_marker, Given, 0x584070, Cdecl, void(                                           \
        float x, float y, uint32_t unused, uint8_t r, uint8_t g, uint8_t b, uint8_t a,          \
        uint8_t kind))                                                                          \
    X(radar_draw_sized_marker, Chosen, host::chosen::radar_draw_sized_marker, Cdecl, void(                    \
        uint32_t a0, float a1, float a2, float a3, int32_t width, int32_t height,               \
        uint32_t a6))                                                                           \
    X(radar_sprite_check, Chosen, host::chosen::radar_sprite_check, Cdecl, bool(int32_t id, int32_t a))       \
    X(radar_sprite_drawn, Chosen, host::chosen::radar_sprite_drawn, Cdecl, void(int32_t a, int32_t id))       \
    X(radar_clear_trace, Chosen, host::chosen::radar_clear_trace, Cdecl, void(uint32_t handle))               \
    X(world_to_radar, Chosen, host::chosen::world_to_radar, Cdecl, void(Vec2* out, const Vec2* in))           \
    X(map_point_prepare, Chosen, host::chosen::map_point_prepare, Cdecl, float(Vec2* point))                  \
    X(map_screen_adjust, Chosen, host::chosen::map_screen_adjust, Cdecl, void(float* x, float* y))            \
    /* Camera: methods of the camera object the patched calls were made on */                   \
    X(camera_point_a, Chosen, host::chosen::camera_point_a, Thiscall, void(                                   \
        void* self, const Vec3* point, uint32_t a2, uint32_t a3, uint32_t a4, uint32_t a5))     \
    X(camera_point_b, Chosen, host::chosen::camera_point_b, Thiscall, void(                                   \
        void* self, const Vec3* point, float a2, float a3, uint32_t a4, uint32_t a5))           \
    X(camera_point_fixed, Chosen, host::chosen::camera_point_fixed, Thiscall, void(void* self))               \
    /* Host functions at the event sites */                                                     \
    X(frame_process, Chosen, host::chosen::frame_process, Cdecl, uintptr_t())                                 \
    X(draw_overlay, Chosen, host::chosen::draw_overlay, Cdecl, uintptr_t())                                   \
    X(draw_tail, Chosen, host::chosen::draw_tail, Thiscall, uintptr_t(void* self))                            \
    X(radar_draw_overlay, Chosen, host::chosen::radar_draw_overlay, Cdecl, uintptr_t(bool flag))              \
    X(renderer_start, Chosen, host::chosen::renderer_start, Cdecl, uintptr_t())                               \
    X(renderer_shutdown, Chosen, host::chosen::renderer_shutdown, Cdecl, uintptr_t())

// X(name, origin, address, type): a record or array is declared at its base, with the type of its
// first element (or a byte); texts by their first character.
#define HOST_DATA(X)                                                                            \
    /* Clock, screen */                                                                         \
    X(screen_width, Given, 0xC17044, int32_t)                                                          \
    X(screen_height, Given, 0xC17048, int32_t)                                                         \
    X(time_ms, Given, 0xB7CB84, uint32_t)                                                              \
    X(time_ms_alt, Chosen, host::chosen::time_ms_alt, uint32_t)                                               \
    X(time_step, Chosen, host::chosen::time_step, float)                                                      \
    X(clock_hours, Chosen, host::chosen::clock_hours, uint8_t)                                                \
    X(clock_minutes, Chosen, host::chosen::clock_minutes, uint8_t)                                            \
    X(clock_day_of_week, Chosen, host::chosen::clock_day_of_week, uint8_t)                                    \
    /* Text engine */                                                                           \
    X(text_table, Chosen, host::chosen::text_table, uint8_t)                                                  \
    X(text_flag_byte_a, Chosen, host::chosen::text_flag_byte_a, uint8_t)                                      \
    X(text_flag_byte_b, Chosen, host::chosen::text_flag_byte_b, uint8_t)                                      \
    X(text_flag_byte_c, Chosen, host::chosen::text_flag_byte_c, uint8_t)                                      \
    /* Render engine and device: pointers the host fills at start */                            \
    X(render_engine, Given, 0xC97B24, void*)                                                           \
    X(d3d_device, Given, 0xC97C28, void*)                                                              \
    X(im2d_depth, Chosen, host::chosen::im2d_depth, float)                                                    \
    X(im2d_recip_depth, Chosen, host::chosen::im2d_recip_depth, float)                                        \
    /* Player and world */                                                                      \
    X(player_records, Given, 0xB7CD98, void*)                                                          \
    X(player_damage_time, Given, 0xB7CE7C, uint32_t)                                                   \
    X(second_player_character, Given, 0xB7CF28, void*)                                                 \
    X(current_player_index, Chosen, host::chosen::current_player_index, int32_t)                              \
    X(object_ref_slot, Given, 0x40CA27, uint32_t)                                                      \
    /* HUD texts and the host's decisions about them */                                         \
    X(zone_name_text, Chosen, host::chosen::zone_name_text, char)                                             \
    X(zone_name_state_a, Chosen, host::chosen::zone_name_state_a, int32_t)                                    \
    X(zone_name_state_b, Chosen, host::chosen::zone_name_state_b, int32_t)                                    \
    X(vehicle_name_text, Chosen, host::chosen::vehicle_name_text, char)                                       \
    X(vehicle_name_state_a, Chosen, host::chosen::vehicle_name_state_a, int32_t)                              \
    X(vehicle_name_state_b, Chosen, host::chosen::vehicle_name_state_b, int32_t)                              \
    X(mission_text, Chosen, host::chosen::mission_text, char)                                                 \
    X(hud_block_flag_a, Chosen, host::chosen::hud_block_flag_a, uint8_t)                                      \
    X(hud_block_flag_b, Chosen, host::chosen::hud_block_flag_b, uint8_t)                                      \
    X(hud_block_flag_c, Chosen, host::chosen::hud_block_flag_c, uint8_t)                                      \
    /* Help box */                                                                              \
    X(help_text, Chosen, host::chosen::help_text, char)                                                       \
    X(help_last_text, Chosen, host::chosen::help_last_text, char)                                             \
    X(help_shown_text, Chosen, host::chosen::help_shown_text, char)                                           \
    X(stat_key_text, Chosen, host::chosen::stat_key_text, char)                                               \
    X(help_state, Chosen, host::chosen::help_state, int32_t)                                                  \
    X(help_elapsed, Chosen, host::chosen::help_elapsed, int32_t)                                              \
    X(help_fade, Chosen, host::chosen::help_fade, int32_t)                                                    \
    X(help_lines, Chosen, host::chosen::help_lines, int32_t)                                                  \
    X(help_stat_id, Chosen, host::chosen::help_stat_id, int32_t)                                              \
    X(help_box_width, Chosen, host::chosen::help_box_width, float)                                            \
    X(help_box_offset, Chosen, host::chosen::help_box_offset, float)                                          \
    X(help_permanent, Chosen, host::chosen::help_permanent, uint8_t)                                          \
    X(help_quick, Chosen, host::chosen::help_quick, uint8_t)                                                  \
    X(help_hide_flag, Chosen, host::chosen::help_hide_flag, uint8_t)                                          \
    X(help_block_a, Chosen, host::chosen::help_block_a, uint8_t)                                              \
    X(help_block_b, Chosen, host::chosen::help_block_b, uint8_t)                                              \
    X(help_block_c, Chosen, host::chosen::help_block_c, uint8_t)                                              \
    /* Radar and map screen */                                                                  \
    X(menu_state, Chosen, host::chosen::menu_state, uint8_t)                                                  \
    X(radar_range, Given, 0xBA8314, float)                                                             \
    X(radar_traces, Given, 0xBA86F0, uint8_t)                                                          \
    X(radar_sprites, Given, 0xBAA250, Sprite)                                                          \
    /* Camera */                                                                                \
    X(camera_records, Chosen, host::chosen::camera_records, uint16_t)                                         \
    X(camera_active_index, Chosen, host::chosen::camera_active_index, int32_t)                                \
    X(camera_flag_c, Chosen, host::chosen::camera_flag_c, uint8_t)                                            \
    X(camera_flag_d, Chosen, host::chosen::camera_flag_d, uint8_t)                                            \
    X(camera_scalar, Chosen, host::chosen::camera_scalar, float)                                              \
    X(crosshair_x_fraction, Chosen, host::chosen::crosshair_x_fraction, float)                                \
    X(crosshair_y_fraction, Chosen, host::chosen::crosshair_y_fraction, float)

// X(name, origin, offset, type): fields of host records
#define HOST_FIELDS(X)                                                                          \
    /* Character */                                                                             \
    X(character_state_flags, Given, 0x40, uint32_t)                                                    \
    X(character_vehicle_flags, Given, 0x46C, uint32_t)                                                 \
    X(character_player_data, Given, 0x480, void*)                                                      \
    X(character_health, Given, 0x540, float)                                                           \
    X(character_armour, Given, 0x548, float)                                                           \
    X(character_vehicle, Given, 0x58C, void*)                                                          \
    X(character_current_slot, Chosen, host::chosen::character_current_slot, uint8_t)                          \
    X(character_crosshair_block, Chosen, host::chosen::character_crosshair_block, uint8_t)                    \
    /* Vehicle */                                                                               \
    X(vehicle_matrix, Given, 0x14, void*)                                                              \
    X(vehicle_type, Given, 0x594, int32_t)                                                             \
    /* Weapon record returned by weapon_info */                                                 \
    X(weapon_info_model, Given, 0xC, int32_t)                                                          \
    /* Pad */                                                                                   \
    X(pad_cash_cue_field, Given, 0x42, int16_t)                                                        \
    /* Radio object */                                                                          \
    X(radio_station, Chosen, host::chosen::radio_station, int32_t)                                            \
    X(radio_station_step, Chosen, host::chosen::radio_station_step, int8_t)                                   \
    X(radio_change_flag, Chosen, host::chosen::radio_change_flag, uint8_t)                                    \
    X(radio_display_until, Chosen, host::chosen::radio_display_until, uint32_t)

// X(name, origin, address): instructions that the plug-in patches
#define HOST_SITES(X)                                                                           \
    /* Event sites */                                                                           \
    X(site_frame_process, Given, 0x53E981)                                                             \
    X(site_draw, Given, 0x53E293)                                                                      \
    X(site_draw_tail, Given, 0x57C324)                                                                 \
    X(site_radar_draw_a, Given, 0x5759E4)                                                              \
    X(site_radar_draw_b, Given, 0x5869BF)                                                              \
    X(site_renderer_start, Given, 0x5BF3A1)                                                            \
    X(site_renderer_shutdown, Given, 0x53D910)                                                         \
    /* Calls redirected to the plug-in's text and box routines: the two box sites each call */ \
    /* fill_rect for a box behind text, the second inside the host's text print */              \
    X(site_subtitle_print, Given, 0x58C68A)                                                            \
    X(site_mission_text, Given, 0x58D470)                                                              \
    X(site_help_box, Given, 0x58FCFA)                                                                  \
    X(site_text_box_fill, Given, 0x573EF4)                                                             \
    X(site_text_print_box_fill, Given, 0x71A7EE)                                                       \
    /* HUD: the zone-name and vehicle-name colour and print calls */                            \
    X(site_zone_name_colour, Given, 0x58AE02)                                                          \
    X(site_zone_name_print, Given, 0x58AE5D)                                                           \
    X(site_vehicle_name_colour, Given, 0x58B0ED)                                                       \
    X(site_vehicle_name_print, Given, 0x58B156)                                                        \
    /* HUD: conditional short jumps (in the host's HUD drawing, and in the routine that makes */ \
    /* the drawing call) and push imm32 operands (in the HUD drawing, and two further on) */       \
    X(site_hud_draw_conditional_jump, Given, 0x58FC2C)                                                 \
    X(site_draw_routine_conditional_jump, Given, 0x53E1EC)                                             \
    X(site_hud_draw_push_operand, Given, 0x58FBDB)                                                     \
    X(site_hud_push_operand_a, Given, 0x58CA30)                                                        \
    X(site_hud_push_operand_b, Given, 0x58CC6A)                                                        \
    /* Radio display: a 6-byte instruction */                                                   \
    X(site_radio_store, Given, 0x506FF0)                                                               \
    /* Radar: float operands by address, colour calls, push imm32 operands, and two 8-byte */     \
    /* stores at each 16-byte run of the host's radar drawing */                                   \
    X(site_arrow_constant_a, Given, 0x584A1A)                                                          \
    X(site_arrow_constant_b, Given, 0x584A02)                                                          \
    X(site_arrow_constant_c, Given, 0x584A32)                                                          \
    X(site_arrow_constant_d, Given, 0x584A42)                                                          \
    X(site_arrow_colour, Given, 0x5849E2)                                                              \
    X(site_sized_marker, Given, 0x588722)                                                              \
    X(site_radar_push_operand, Given, 0x586AC4)                                                        \
    X(site_radar_map_alpha, Given, 0x5864BD)                                                           \
    X(site_map_blend, Given, 0x58641A)                                                                 \
    X(site_radar_draw_stores_a, Given, 0x58A818)                                                       \
    X(site_radar_draw_stores_b, Given, 0x58A8C2)                                                       \
    X(site_radar_draw_stores_c, Given, 0x58A96C)                                                       \
    X(site_radar_draw_stores_d, Given, 0x58AA1A)                                                       \
    X(site_gang_overlay_colour, Given, 0x586850)                                                       \
    /* The host's loads of its font dictionary, font data file and blip dictionary */         \
    X(site_font_dictionary_load, Given, 0x5BA6A4)                                                      \
    X(site_font_data_open, Given, 0x7187DB)                                                            \
    X(site_blip_dictionary_load, Given, 0x5BA865)                                                      \
    /* Option sets: 32-bit operands of the host's text code (its unit and its line count), */ \
    /* the calls that draw the 3D markers and the calls that aim the camera */                 \
    X(site_font_unit_a, Given, 0x719D7E)                                                               \
    X(site_font_unit_b, Given, 0x719D96)                                                               \
    X(site_font_unit_c, Given, 0x719DB7)                                                               \
    X(site_font_unit_d, Given, 0x719DD3)                                                               \
    X(site_font_unit_e, Given, 0x719DF4)                                                               \
    X(site_font_unit_f, Given, 0x719E10)                                                               \
    X(site_font_unit_g, Given, 0x719E31)                                                               \
    X(site_font_unit_h, Given, 0x719E4D)                                                               \
    X(site_font_unit_i, Given, 0x719E71)                                                               \
    X(site_font_unit_j, Given, 0x719E99)                                                               \
    X(site_font_unit_k, Given, 0x719EC1)                                                               \
    X(site_font_unit_l, Given, 0x719EE5)                                                               \
    X(site_font_lines_a, Given, 0x719D90)                                                              \
    X(site_font_lines_b, Given, 0x719DCD)                                                              \
    X(site_font_lines_c, Given, 0x719E0A)                                                              \
    X(site_font_lines_d, Given, 0x719E47)                                                              \
    X(site_font_lines_e, Given, 0x719E63)                                                              \
    X(site_font_lines_f, Given, 0x719E8B)                                                              \
    X(site_marker_host_colour, Given, 0x726DD2)                                                        \
    X(site_marker_faint, Given, 0x725BF0)                                                              \
    X(site_marker_low, Given, 0x440F4E)                                                                \
    X(site_marker_high, Given, 0x585CE4)                                                               \
    X(site_camera_on_foot, Given, 0x527A09)                                                            \
    X(site_camera_fixed_a, Given, 0x527B4B)                                                            \
    X(site_camera_fixed_b, Given, 0x527BD9)                                                            \
    X(site_camera_vehicle, Given, 0x5279B1)

namespace host {

#define HOST_DECLARE_FUNCTION(name, origin, address, convention, signature) \
    inline constexpr convention<address, signature> name{};
#define HOST_DECLARE_DATUM(name, origin, address, type) inline constexpr Datum<address, type> name{};
#define HOST_DECLARE_FIELD(name, origin, offset, type) inline constexpr Field<offset, type> name{};
#define HOST_DECLARE_SITE(name, origin, address) inline constexpr uint32_t name = address;

HOST_FUNCTIONS(HOST_DECLARE_FUNCTION)
HOST_DATA(HOST_DECLARE_DATUM)
HOST_FIELDS(HOST_DECLARE_FIELD)
HOST_SITES(HOST_DECLARE_SITE)

#undef HOST_DECLARE_FUNCTION
#undef HOST_DECLARE_DATUM
#undef HOST_DECLARE_FIELD
#undef HOST_DECLARE_SITE

// ---- Layouts of host records and arrays -----------------------------------------------

// Host texts: their sizes in bytes, terminator included.
constexpr uint32_t help_text_size = 400; // also help_last_text and help_shown_text
constexpr uint32_t zone_name_text_size = 64;
constexpr uint32_t vehicle_name_text_size = 64;
constexpr uint32_t mission_text_size = 400;
constexpr uint32_t stat_key_text_size = 16;

// Render engine: the datum points to a record of render-state functions.
constexpr uint32_t render_engine_set = 0x20; // void (int32_t state, uint32_t value)
constexpr uint32_t render_engine_get = 0x24; // void (int32_t state, uint32_t* value)
using RenderStateSet = void(KH_CDECL*)(int32_t state, uint32_t value);
using RenderStateGet = void(KH_CDECL*)(int32_t state, uint32_t* value);

// Graphics device capabilities (the record device_caps returns).
constexpr uint32_t device_caps_raster_caps = 0x24; // u32
constexpr uint32_t raster_caps_scissor_test = 0x01000000;

// Graphics device (what d3d_device points to): a Direct3D 9 device, whose first word is its
// method table. The methods are stdcall with the device first and return an HRESULT.
struct DeviceRect {
    int32_t left, top, right, bottom;
};
constexpr uint32_t device_method_set_render_state = 57;
constexpr uint32_t device_method_set_scissor_rect = 75;
constexpr uint32_t device_method_count = 119;
using DeviceSetRenderState = int32_t(KH_STDCALL*)(void* device, uint32_t state, uint32_t value);
using DeviceSetScissorRect = int32_t(KH_STDCALL*)(void* device, const DeviceRect* rect);
constexpr uint32_t device_state_scissor_test = 174;

// Player records: one per local player; the character pointer comes first.
constexpr uint32_t player_record_size = 0x190;
constexpr uint32_t player_record_count = 2;
constexpr uint32_t player_record_money = 0xBC;      // i32
constexpr uint32_t player_record_max_health = 0x14F; // u8
constexpr uint32_t player_record_max_armour = 0x150; // u8
static_assert(second_player_character.address == player_records.address + player_record_size,
              "the second player's character is the first field of record 1");

// Wanted record (what player_wanted returns).
constexpr uint32_t wanted_change_time = 0x0C; // u32 host ms
constexpr uint32_t wanted_star_count = 0x2C;  // u32, 0..6

// Character: weapon slot records, selected by character_current_slot.
constexpr uint32_t character_weapon_slots = 0x5A0;
constexpr uint32_t weapon_slot_size = 0x1C;
constexpr uint32_t weapon_slot_type = 0x0;        // i32
constexpr uint32_t weapon_slot_ammo_clip = 0x8;   // i32
constexpr uint32_t weapon_slot_ammo_total = 0xC;  // i32
constexpr uint32_t character_weapon_slot_count = host::chosen::character_weapon_slot_count;
static_assert(character_weapon_slots + character_weapon_slot_count * weapon_slot_size <=
              host::chosen::character_current_slot);

// Weapon record (what weapon_info returns); the model is weapon_info_model. Only types
// below weapon_type_count have one.
constexpr uint32_t weapon_info_clip_size = 0x20; // u16
constexpr uint32_t weapon_type_count = host::chosen::weapon_type_count;

// Player data record (what character_player_data points to).
constexpr uint32_t player_data_breath = 0x44; // f32

// Vehicle matrix (what vehicle_matrix points to): the two z components the roll comes from.
constexpr uint32_t matrix_right_z = 0x08; // f32
constexpr uint32_t matrix_up_z = 0x28;    // f32

// Menu and map-screen state.
constexpr uint32_t menu_radar_mode = 0x24;    // i32, 2 = no radar
constexpr uint32_t menu_target_handle = 0x2C; // u32: trace index (low half), counter (high half)
constexpr uint32_t menu_map_shown = 0x59;     // u8
constexpr uint32_t menu_map_scale = 0x64;     // f32
constexpr uint32_t menu_map_origin_x = 0x68;  // f32
constexpr uint32_t menu_map_origin_y = 0x6C;  // f32
constexpr uint32_t menu_language = 0x84;      // u8
constexpr uint32_t menu_state_size = 0x88;    // the part the plug-in reads

// Radar traces: map target records indexed by the low half of a target handle; 175 fit
// between the array's base and radar_sprites.
constexpr uint32_t radar_trace_size = 40;
constexpr uint32_t radar_trace_count = 175;
constexpr uint32_t radar_trace_x = 0x08;       // f32
constexpr uint32_t radar_trace_y = 0x0C;       // f32
constexpr uint32_t radar_trace_z = 0x10;       // f32
constexpr uint32_t radar_trace_counter = 0x14; // u16, matches the handle's high half
constexpr uint32_t radar_trace_flags = 0x26;   // u8, bit 0 or 1 when in use
static_assert(radar_traces.address + radar_trace_count * radar_trace_size <= radar_sprites.address);

// Radar sprites: one per blip sprite id.
constexpr uint32_t radar_sprite_count = 256;

// Camera records, indexed by camera_active_index; the mode is the u16 at the start.
constexpr uint32_t camera_record_size = host::chosen::camera_record_size;
constexpr uint32_t camera_record_count = host::chosen::camera_record_count;

} // namespace host
