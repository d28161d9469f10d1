#include "radar/gps_route.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <emmintrin.h>
#include <iterator>

#include "state/plugin.h"
#include "data/screen_unit.h"
#include "host/host.h"
#include "platform/address.h"
#include "draw/hud_style.h"
#include "radar/guidance.h"
#include "draw/render_state.h"

namespace {

// The host's screen-space vertex, as im2d_draw takes it.
struct RouteVertex {
    float x, y;
    float depth;
    float recipDepth;
    uint32_t colour; // 0xAARRGGBB
    float u, v;
};
static_assert(sizeof(RouteVertex) == 28);

// The host's search stops at this many nodes; the buffers hold that many.
constexpr int32_t routeMaxNodes = 2000;

uint32_t routeNodes[routeMaxNodes];
Vec2 routePoints[routeMaxNodes];
RouteVertex routeVertices[4 * routeMaxNodes];
float routeDistance;

constexpr uint32_t noNode = 0xFFFFFFFF;
constexpr float searchRange = 2000.0f;
constexpr int32_t triangleStrip = 4;
// The band's half-width on the radar, in reference units.
constexpr float halfWidth = 5.0f;
// cos of the float one step below pi/2 (0x3FC90FDA), the quarter turn the host's own route
// line turns its sides by: how far a leg of length 0 leans its sides off the vertical.
constexpr double cosQuarterTurn = 7.5497899548918821e-08;

void* pathObject() { return pointerTo<void*>(hostObjectRef); }

uint8_t menuByte(uint32_t offset) { return host::load<uint8_t>(host::menu_state.address + offset); }

// A method of the host's Direct3D device, from its method table.
template <class Method>
Method deviceMethod(void* device, uint32_t index)
{
    uint32_t table = host::load<uint32_t>(addressOf(device));
    return pointerTo<Method>(host::load<uint32_t>(table + 4 * index));
}

void setDeviceScissorTest(bool on)
{
    void* device = host::d3d_device.get();
    deviceMethod<host::DeviceSetRenderState>(device, host::device_method_set_render_state)(
        device, host::device_state_scissor_test, on ? 1 : 0);
}

bool scissorSupported()
{
    if (!host::d3d_device.get())
        return false;
    const void* caps = host::device_caps();
    if (!caps)
        return false;
    uint32_t raster = host::load<uint32_t>(addressOf(caps) +
                                           host::device_caps_raster_caps);
    return (raster & host::raster_caps_scissor_test) != 0;
}

// The radar square, 2 pixels in on every side, clips the band.
void clipToRadar()
{
    Vec2 lowCorner{-1.0f, -1.0f}, highCorner{1.0f, 1.0f}, c1, c2;
    host::radar_to_screen(&c1, &lowCorner);
    host::radar_to_screen(&c2, &highCorner);
    host::DeviceRect rect{static_cast<int32_t>(c1.x + 2.0f), static_cast<int32_t>(c2.y + 2.0f),
                          static_cast<int32_t>(c2.x - 2.0f), static_cast<int32_t>(c1.y - 2.0f)};
    setDeviceScissorTest(true);
    void* device = host::d3d_device.get();
    deviceMethod<host::DeviceSetScissorRect>(device, host::device_method_set_scissor_rect)(device, &rect);
}

// The map screen's zoom: 0.55 zoomed out to 1.4 zoomed in. NaN reads as zoomed out.
float mapZoom()
{
    float mapScale = host::load<float>(host::menu_state.address + host::menu_map_scale);
    return std::fmin(std::fmax(mapScale - 140.0f, 140.0f), 960.0f) / 960.0f + 0.4f;
}

// The node's place on screen, converted the way the host's own blips are. False for a
// node the host has no record of.
bool screenPoint(void* paths, uint32_t node, bool mapShown, Vec2& screen)
{
    void* record = host::path_node(paths, node);
    if (!record)
        return false;
    Vec3 position;
    host::path_node_position(record, &position);
    Vec2 world{position.x, position.y}, radar;
    host::world_to_radar(&radar, &world);
    if (!mapShown) {
        host::radar_to_screen(&screen, &radar);
        return true;
    }
    host::map_point_prepare(&radar);
    host::radar_to_screen(&screen, &radar);
    // The map is laid out in a 640 x 448 frame.
    screen.x = screenWidth() / 640.0f * screen.x;
    screen.y = screenHeight() / 448.0f * screen.y;
    host::map_screen_adjust(&screen.x, &screen.y);
    return true;
}

bool finite(Vec2 p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Converts the route's nodes to screen points; returns how many points the band has. The
// route ends at the first empty entry (the host reported more nodes than it wrote), which
// is never handed to the host, or at a node the host has no record of. A node whose point
// is not a finite number is left out: the band goes on from the point before it.
int32_t convertRoute(int32_t count, bool mapShown)
{
    void* paths = pathObject();
    Vec2* point = routePoints;
    for (const uint32_t *node = routeNodes, *end = routeNodes + count; node != end && *node != noNode; ++node) {
        if (!screenPoint(paths, *node, mapShown, *point))
            break;
        if (finite(*point))
            ++point;
    }
    return static_cast<int32_t>(point - routePoints);
}

uint32_t bandColour()
{
    Colour c = hudColour(HUD_COLOUR_GPS, 255);
    // r, g, b, a in memory read as 0xAABBGGRR: byte-swapped 0xRRGGBBAA, turned by a byte.
    uint32_t bytes;
    std::memcpy(&bytes, &c, sizeof bytes);
    return std::rotr(__builtin_bswap32(bytes), 8);
}

// The leg loop works on pairs (x, y) in the low half of SSE registers: each lane's
// arithmetic is the same IEEE operation the scalar form makes, in half the instructions.
__m128 loadPair(Vec2 p)
{
    double bits;
    std::memcpy(&bits, &p, sizeof bits);
    return _mm_castpd_ps(_mm_set_sd(bits));
}

Vec2 storedPair(__m128 p)
{
    Vec2 v;
    _mm_storel_pi(reinterpret_cast<__m64*>(&v), p);
    return v;
}

// A leg's two sides as pairs (x, y).
struct LegSides {
    __m128 first, second;
};

// Inside this file, so that the leg loop inlines it (the exported name could be interposed).
LegSides legSides(__m128 from, __m128 to, float halfWidth)
{
    // The leg's unit normal times the half-width: the sides stand square to the leg. In
    // double, so that no difference of two finite points overflows.
    const __m128d d = _mm_sub_pd(_mm_cvtps_pd(to), _mm_cvtps_pd(from)); // (dx, dy)
    const __m128d squares = _mm_mul_pd(d, d);
    const double length = std::sqrt(_mm_cvtsd_f64(squares) + _mm_cvtsd_f64(_mm_unpackhi_pd(squares, squares)));
    if (length == 0.0) {
        // A leg without a direction reads as pointing along +x (atan2(0, 0) is 0); the
        // sides then lean the quarter turn's shortfall off the vertical, as they always have.
        float lean = static_cast<float>(cosQuarterTurn * halfWidth);
        return {_mm_setr_ps(lean, -halfWidth, 0.0f, 0.0f), _mm_setr_ps(lean, halfWidth, 0.0f, 0.0f)};
    }
    // (dy, dx) times halfWidth / length, to float: the first side is (that x, -that y), the
    // second its opposite. Negating before or after the product and the rounding to float
    // gives the same number.
    const __m128 turned = _mm_cvtpd_ps(_mm_mul_pd(_mm_shuffle_pd(d, d, 1), _mm_set1_pd(halfWidth / length)));
    const __m128 negateY = _mm_setr_ps(0.0f, -0.0f, 0.0f, 0.0f), negateX = _mm_setr_ps(-0.0f, 0.0f, 0.0f, 0.0f);
    return {_mm_xor_ps(turned, negateY), _mm_xor_ps(turned, negateX)};
}

// One vertex: the point (x, y) moved by the side, then the depth pair, the colour and
// zero texture coordinates.
void writeVertex(RouteVertex& v, __m128 point, __m128 side, __m128 depths, uint32_t colour)
{
    _mm_storeu_ps(&v.x, _mm_movelh_ps(_mm_add_ps(point, side), depths));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(&v.colour), _mm_cvtsi32_si128(static_cast<int32_t>(colour)));
    v.v = 0.0f;
}

// What every vertex of one frame's band shares: the host's depth, a hair in front of
// its near plane, and its reciprocal, as a pair.
__m128 bandDepths()
{
    return _mm_setr_ps(host::im2d_depth.get() + 0.0001f, host::im2d_recip_depth.get(), 0.0f, 0.0f);
}

// One quad per leg, its long sides half the width away on either side of the leg.
void writeLeg(int32_t i, float width, __m128 depths, uint32_t colour)
{
    const __m128 a = loadPair(routePoints[i]), b = loadPair(routePoints[i + 1]);
    const LegSides sides = legSides(a, b, width);
    RouteVertex* v = &routeVertices[4 * i];
    writeVertex(v[0], a, sides.first, depths, colour);
    writeVertex(v[1], b, sides.first, depths, colour);
    writeVertex(v[2], a, sides.second, depths, colour);
    writeVertex(v[3], b, sides.second, depths, colour);
}

// Whether every entry of routeNodes has been emptied once, before the first search.
bool routeNodesEmptied = false;

// Asks the host's road search for the route from the player to the target; returns how
// many nodes of routeNodes hold it.
int32_t searchRoute(const MapTarget& target)
{
    // Every entry the host does not write this time reads as empty, so that no node of an
    // earlier, longer route is taken for one of this route: emptied all at first, and
    // after each search as far as that search wrote (emptyRoute).
    if (!routeNodesEmptied) {
        std::fill(std::begin(routeNodes), std::end(routeNodes), noNode);
        routeNodesEmptied = true;
    }
    Vec3 from;
    host::player_position(&from, 0);
    int16_t count = 0;
    const Vec3& to = target.position;
    host::path_search(pathObject(), 0, from.x, from.y, from.z, noNode, to.x, to.y, to.z, routeNodes, &count,
                      routeMaxNodes, &routeDistance, searchRange, 0, searchRange, 0, noNode, 0, 0);
    // The count is the host's word: never more nodes than the buffers hold, none below 0.
    return std::clamp<int32_t>(count, 0, routeMaxNodes);
}

// Empties again the entries the last search wrote: the `reported` ones and those it wrote
// beyond them (the host writes its nodes one after another from the first), so that only
// the entries of one route are ever emptied, not the whole buffer every frame.
void emptyRoute(int32_t reported)
{
    int32_t end = reported;
    while (end < routeMaxNodes && routeNodes[end] != noNode)
        ++end;
    std::fill(routeNodes, routeNodes + end, noNode);
}

} // namespace

BandOffsets routeBandOffsets(Vec2 from, Vec2 to, float halfWidth)
{
    LegSides sides = legSides(loadPair(from), loadPair(to), halfWidth);
    return {storedPair(sides.first), storedPair(sides.second)};
}

void DrawGpsRoute()
{
    routeDistance = 0.0f;
    MapTarget target;
    if (!guidanceActive(target))
        return;
    bool mapShown = menuByte(host::menu_map_shown) != 0;
    // While the display is off the radar transform gives no points on the radar; the map
    // screen's points do not depend on it, so the band stays on the map.
    if (plugin.hudDisabled && !mapShown)
        return;
    int32_t found = searchRoute(target);
    int32_t count = convertRoute(found, mapShown);
    emptyRoute(found);
    bool clipped = false;
    if (count > 0) {
        if (!mapShown && scissorSupported()) {
            clipToRadar();
            clipped = true;
        }
        setRenderState(RenderState::Texture, 0);
        // On the map the band widens and narrows with the map's zoom, in proportion.
        float width = pixels(halfWidth) * (mapShown ? mapZoom() : 1.0f);
        const __m128 depths = bandDepths();
        for (int32_t i = 0; i + 1 < count; ++i) {
            // Both host calls stay with every leg, as the host's own route line makes them.
            setRenderState(RenderState::SourceBlend, blendOne);
            writeLeg(i, width, depths, bandColour());
        }
        host::im2d_draw(triangleStrip, routeVertices, 4 * count - 4);
    }
    // The capabilities are asked again; a scissor test switched on above is switched off
    // whatever they say now.
    bool supported = !mapShown && scissorSupported();
    if (supported || clipped)
        setDeviceScissorTest(false);
}
