#include "radar/roll_indicator.h"

#include <cmath>

#include "data/placement.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "draw/hud_style.h"

namespace {

constexpr float halfPi = 1.5707964f;

// The vehicle's roll: 0 while it lies level (right vector flat, up vector straight up).
// Not a number when the host's matrix holds none, or when there is no vehicle or matrix.
float rollOfPlayerVehicle()
{
    void* vehicle = host::player_vehicle(-1, 0);
    void* matrix = vehicle ? host::vehicle_matrix.of(vehicle) : nullptr;
    if (!matrix)
        return NAN;
    float rightZ = host::Field<host::matrix_right_z, float>{}.of(matrix);
    float upZ = host::Field<host::matrix_up_z, float>{}.of(matrix);
    return halfPi - static_cast<float>(std::atan2(static_cast<double>(upZ), -static_cast<double>(rightZ)));
}

} // namespace

void RotateQuad(Vec2 (&points)[4], float cx, float cy, float angle)
{
    const double c = std::cos(static_cast<double>(angle));
    const double s = std::sin(static_cast<double>(angle));
    for (Vec2& p : points) {
        const double dx = p.x - cx;
        const double dy = p.y - cy;
        p = {static_cast<float>(cx + dx * c + dy * s), static_cast<float>(cy - dx * s + dy * c)};
    }
}

void drawRollIndicator(const HudLayout& layout, const ScreenScale& unit)
{
    const float angle = rollOfPlayerVehicle();
    // An undefined roll would put the plane's corners nowhere: then it is not drawn.
    if (!std::isfinite(angle))
        return;

    // The radar's centre, each sum scaled once as the radar transform does; y upward.
    const Vec2& offset = layout.radarOffset;
    const LayoutBox& map = layout.records[HUD_RADAR_MAP];
    const float cx = unit.pixels(map.x + offset.x);
    const float cy = unit.pixels(map.y + offset.y);
    const float halfW = unit.pixels(9);
    const float halfH = unit.pixels(8.8f);
    Vec2 corners[4] = {{cx - halfW, cy + halfH}, {cx + halfW, cy + halfH}, {cx - halfW, cy - halfH}, {cx + halfW, cy - halfH}};
    RotateQuad(corners, cx, cy, angle);

    // To screen rows, raised by one reference unit.
    const float height = unit.height;
    const float raise = unit.pixels(1);
    const Shift shift = shiftOf(layout, HUD_RADAR_MAP, unit);
    for (Vec2& p : corners)
        p = {shift.atX(p.x), shift.atY(height - p.y - raise)};

    Colour white = makeColour(255, 255, 255, 255);
    Sprite* plane = static_cast<Sprite*>(host::radar_sprites.pointer()) + host::chosen::radar_roll_sprite;
    const Vec2 &topLeft = corners[0], &topRight = corners[1], &bottomLeft = corners[2], &bottomRight = corners[3];
    host::sprite_draw_quad(plane, bottomLeft.x, bottomLeft.y, bottomRight.x, bottomRight.y, topLeft.x, topLeft.y,
                           topRight.x, topRight.y, &white);
}
