#include "radar/arrival.h"

#include "host/host.h"
#include "radar/guidance.h"

namespace {

constexpr float arrivalDistance = 20.0f;

// By the host's language code; a code the host may add later reads in English.
const char* arrivalText(uint8_t language)
{
    switch (language) {
    case 1: return "Vous avez atteint votre destination";
    case 2: return "Du hast dein Ziel erreicht";
    case 3: return "Hai Raggiunto la tua destinazione";
    case 4: return "Has llegado a tu destino";
    default: return "You have reached your destination";
    }
}

} // namespace

void CheckArrival()
{
    MapTarget target;
    if (!guidanceActive(target) || !host::player_character(-1))
        return;
    Vec3 player;
    host::player_position(&player, 0);
    // The height is left out: a target on a bridge above counts as reached.
    Vec2 apart{target.position.x - player.x, target.position.y - player.y};
    if (!(host::vector2_length(&apart) < arrivalDistance))
        return;
    host::radar_clear_trace(target.handle);
    host::store<uint32_t>(host::menu_state.address + host::menu_target_handle, 0);
    host::show_help_message(arrivalText(host::load<uint8_t>(host::menu_state.address + host::menu_language)), 1, 0, 1);
}
