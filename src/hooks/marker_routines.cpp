#include "hooks/marker_routines.h"

#include "state/plugin.h"
#include "data/colours.h"
#include "host/host.h"

namespace {

constexpr float markerSize = 1.6f;
constexpr float faintMarkerSize = 0.7f;
// How far each marker sits from the host's point, up or down.
constexpr float hostColourDrop = 0.6f;
constexpr float lowDrop = 0.4f;
constexpr float highLift = 1.65f;

// The host's point at another height, made the way the host makes its vectors. The
// height is computed in single precision, as the host does.
const Vec3* atHeight(Vec3* out, const Vec3* point, float z)
{
    host::vector3_make(out, point->x, point->y, z);
    return out;
}

const Colour& yellow() { return plugin.colours[HUD_COLOUR_YELLOWLIGHT]; }

// The host's alpha byte read as signed, scaled by a third in double precision, truncated
// and kept to its low byte: 90 gives 30, 200 (-56) gives -18, that is 238.
uint8_t faintAlpha(uint8_t hostAlpha)
{
    const double third = 0.33333334;
    return static_cast<uint8_t>(static_cast<int32_t>(static_cast<int8_t>(hostAlpha) * third));
}

// Each routine draws nothing for a point the host hands without an address: there is no
// height to move it to, and the host's own drawing would read through it.

// A marker of this style in the given colour; the other arguments are the host's usual
// plain marker's.
void drawMarker(int32_t marker, const Vec3* point, uint8_t r, uint8_t g, uint8_t b)
{
    host::marker_draw(marker, 0, point, markerSize, r, g, b, 0, 0.0f, 0.0f, 0, 0, 0, 0, 0);
}

void drawYellowMarker(int32_t marker, const Vec3* point)
{
    const Colour& c = yellow();
    drawMarker(marker, point, c.r, c.g, c.b);
}

} // namespace

KH_CDECL void DrawHostColourMarker(int32_t marker, uint32_t, const Vec3* point, float, uint8_t r, uint8_t g, uint8_t b,
                                   uint8_t, float, float, uint8_t, uint32_t, uint32_t, uint32_t, uint32_t)
{
    if (plugin.hudDisabled || !point)
        return;
    Vec3 lowered;
    drawMarker(marker, atHeight(&lowered, point, point->z - hostColourDrop), r, g, b);
}

KH_CDECL void DrawYellowMarkerFaint(int32_t marker, uint32_t kind, const Vec3* point, float, uint8_t, uint8_t,
                                    uint8_t, uint8_t a, float word9, float word10, uint8_t, uint32_t, uint32_t,
                                    uint32_t, uint32_t)
{
    if (plugin.hudDisabled || !point)
        return;
    const Colour& c = yellow();
    host::marker_draw(marker, kind, point, faintMarkerSize, c.r, c.g, c.b, faintAlpha(a), word9, word10, 1, 0, 0, 0,
                      0);
}

KH_CDECL void DrawYellowMarkerLow(int32_t, const Vec3* point, float, uint8_t, uint8_t, uint8_t, uint8_t)
{
    if (plugin.hudDisabled || !point)
        return;
    Vec3 lowered;
    drawYellowMarker(1, atHeight(&lowered, point, point->z - lowDrop));
}

KH_CDECL void DrawYellowMarkerHigh(int32_t marker, uint32_t, const Vec3* point, float, uint8_t, uint8_t, uint8_t,
                                   uint8_t)
{
    if (plugin.hudDisabled || !point)
        return;
    Vec3 lifted;
    drawYellowMarker(marker, atHeight(&lifted, point, point->z + highLift));
}
