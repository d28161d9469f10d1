#include "pictures.h"

#include <algorithm>
#include <sstream>

#include "svg.h"

namespace art {

using svg::num;

const char* variantFolder(int variant)
{
    static const char* const folders[variantCount] = {"", "mora", "sabel"};
    return variant >= 0 && variant < variantCount ? folders[variant] : "";
}

// ---- radar ring geometry, as fractions of the ring texture's half size ---------------
// The ring sprites fill the radar box, whose half size is 130 reference units; the map
// is drawn inside 100 of them. The mask just covers the map, the gauges run in the band
// outside it and the front ring frames both.
constexpr double maskRadius = 0.785;
constexpr double gaugeRadius = 0.87;
constexpr double gaugeWidth = 0.10;
constexpr double innerLine = 0.797;
constexpr double bezelRadius = 0.965;
constexpr double bezelWidth = 0.06;

std::string progressFrame(int number)
{
    constexpr int size = 256;
    constexpr double c = size / 2.0, r = gaugeRadius * c, w = gaugeWidth * c;
    double sweep = 180.0 * (200 - std::clamp(number, 0, 200)) / 200.0;
    std::string stroke = "stroke=\"#fff\" stroke-width=\"" + num(w) + "\"";
    std::string body = svg::circle(c, c, r, "fill=\"none\" " + stroke + " stroke-opacity=\"0.22\"");
    if (sweep > 0) {
        body += svg::arc(c, c, r, 0, sweep, stroke);  // left half: health
        body += svg::arc(c, c, r, 0, -sweep, stroke); // right half: armour
    }
    return svg::document(size, size, body);
}

namespace {

// Short radial bars at the top and bottom of the gauge band: where health ends and
// armour begins.
std::string separators(double c, double from, double to, double width, const std::string& colour)
{
    std::string out;
    for (double y : {c - to * c, c + from * c}) {
        double h = (to - from) * c;
        out += "<rect x=\"" + num(c - width * c / 2) + "\" y=\"" + num(y) + "\" width=\"" + num(width * c) +
               "\" height=\"" + num(h) + "\" rx=\"" + num(width * c / 2) + "\" fill=\"" + colour + "\"/>\n";
    }
    return out;
}

// Tick marks on the bezel, every 360/count degrees; every `major`-th one longer.
std::string ticks(double c, int count, int major, double outer, double inner, double majorInner,
                  const std::string& attributes)
{
    std::string out;
    for (int i = 0; i < count; ++i) {
        double a = 360.0 * i / count;
        out += "<polyline points=\"" + svg::pointOnCircle(c, c, outer * c, a) + " " +
               svg::pointOnCircle(c, c, (i % major ? inner : majorInner) * c, a) + "\" " + attributes + "/>\n";
    }
    return out;
}

std::string ring(double c, double radius, double width, const std::string& attributes)
{
    return svg::circle(c, c, radius * c, "fill=\"none\" stroke-width=\"" + num(width * c) + "\" " + attributes);
}

std::string frontRing(int variant)
{
    constexpr int size = 512;
    constexpr double c = size / 2.0;
    std::string b;
    if (variant == 1) { // mora: a dark steel bezel with a cold line and fine ticks
        b += ring(c, bezelRadius, bezelWidth + 0.01, "stroke=\"#161b22\"");
        b += ticks(c, 72, 6, 0.99, 0.955, 0.94, "stroke=\"#7fa9c9\" stroke-width=\"2\"");
        b += ring(c, 0.93, 0.008, "stroke=\"#5cc4ff\"");
        b += ring(c, innerLine, 0.012, "stroke=\"#5cc4ff\" stroke-opacity=\"0.8\"");
        b += separators(c, innerLine, 0.93, 0.02, "#5cc4ff");
    } else if (variant == 2) { // sabel: a warm brass bezel with rivets
        b += "<defs><linearGradient id=\"brass\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
             "<stop offset=\"0\" stop-color=\"#f6d38a\"/><stop offset=\"0.5\" stop-color=\"#c98f3e\"/>"
             "<stop offset=\"1\" stop-color=\"#8a561c\"/></linearGradient></defs>\n";
        b += ring(c, bezelRadius, bezelWidth + 0.005, "stroke=\"url(#brass)\"");
        b += ring(c, 0.996, 0.008, "stroke=\"#3d220a\"");
        b += ring(c, 0.932, 0.008, "stroke=\"#3d220a\"");
        for (int i = 0; i < 8; ++i) {
            svg::Point p = svg::onCircle(c, c, bezelRadius * c, 22.5 + 45 * i);
            b += svg::circle(p.x, p.y, 7, "fill=\"#5a3510\" stroke=\"#f6d38a\" stroke-width=\"2\"");
        }
        b += ring(c, innerLine, 0.014, "stroke=\"#ffd9a0\" stroke-opacity=\"0.85\"");
        b += separators(c, innerLine, 0.932, 0.028, "#f6d38a");
    } else { // base: a clean light bezel with dark edges
        b += ring(c, bezelRadius, bezelWidth, "stroke=\"#eef1f4\"");
        b += ring(c, 0.995, 0.01, "stroke=\"#000\" stroke-opacity=\"0.55\"");
        b += ring(c, 0.935, 0.008, "stroke=\"#000\" stroke-opacity=\"0.45\"");
        b += ring(c, innerLine, 0.012, "stroke=\"#fff\" stroke-opacity=\"0.75\"");
        b += separators(c, innerLine, 0.935, 0.02, "#fff");
    }
    return svg::document(size, size, b);
}

} // namespace

std::string radarRing(const std::string& name, int variant)
{
    constexpr int size = 256;
    constexpr double c = size / 2.0;
    if (name == "radarringfront")
        return frontRing(variant);
    if (name == "radarringback") {
        // The disc under the gauges, tinted by the host; mora's a little heavier at the rim.
        std::string b = svg::circle(c, c, 0.995 * c, "fill=\"#fff\"");
        if (variant == 1)
            b = svg::circle(c, c, 0.995 * c, "fill=\"#fff\" fill-opacity=\"0.85\"") +
                ring(c, 0.9, 0.19, "stroke=\"#fff\"");
        else if (variant == 2)
            b += ring(c, 0.8, 0.02, "stroke=\"#000\" stroke-opacity=\"0.25\"");
        return svg::document(size, size, b);
    }
    if (name == "radarringmask")
        return svg::document(size, size, svg::circle(c, c, maskRadius * c, "fill=\"#fff\""));
    if (name == "radarringplane")
        return svg::document(64, 64,
                             "<path d=\"M32 3l4 17 24 10v6l-24-4-2 16 8 6v4l-10-2-10 2v-4l8-6-2-16-24 4v-6l24-10z\" "
                             "fill=\"#fff\" stroke=\"#101418\" stroke-width=\"2\" stroke-linejoin=\"round\"/>\n");
    return {};
}

namespace {

// A pictogram of 512 x 512 user units placed in the box (x, y, size) in one colour.
std::string placed(const std::string& body, double x, double y, double size, const std::string& colour,
                   const std::string& extra = "")
{
    return "<svg x=\"" + num(x) + "\" y=\"" + num(y) + "\" width=\"" + num(size) + "\" height=\"" + num(size) +
           "\" viewBox=\"0 0 512 512\" overflow=\"visible\"><g color=\"" + colour + "\" fill=\"" + colour + "\" " +
           extra + ">" + body + "</g></svg>\n";
}

} // namespace

std::string weaponIcon(const std::string& body)
{
    constexpr int size = 128;
    constexpr double inset = 8, box = size - 2 * inset;
    // A soft shadow, a dark outline for light backgrounds, then the white icon.
    return svg::document(size, size,
                         placed(body, inset + 2, inset + 3, box, "#000", "opacity=\"0.35\"") +
                             placed(body, inset, inset, box, "#0d1014",
                                    "stroke=\"#0d1014\" stroke-width=\"30\" stroke-linejoin=\"round\"") +
                             placed(body, inset, inset, box, "#fff"));
}

std::string blip(const std::string& name, const std::string& body)
{
    constexpr int size = 64;
    const std::string outline = "stroke=\"#0d1014\" stroke-width=\"4\" stroke-linejoin=\"round\"";
    if (name == "radar_higher")
        return svg::document(size, size, "<path d=\"M32 8L58 54H6z\" fill=\"#fff\" " + outline + "/>\n");
    if (name == "radar_lower")
        return svg::document(size, size, "<path d=\"M6 10H58L32 56z\" fill=\"#fff\" " + outline + "/>\n");
    if (name == "radar_level")
        return svg::document(size, size, "<rect x=\"12\" y=\"12\" width=\"40\" height=\"40\" rx=\"4\" fill=\"#fff\" " +
                                              outline + "/>\n");
    if (name == "radar_centre") // nose up: the roll indicator turns it
        return svg::document(size, size, "<path d=\"M32 4L56 58L32 46L8 58z\" fill=\"#fff\" " + outline + "/>\n");
    std::string disc = svg::circle(32, 32, 29, "fill=\"#15191e\" fill-opacity=\"0.92\" stroke=\"#fff\" stroke-width=\"3\"");
    if (name == "radar_north")
        return svg::document(size, size,
                             disc + "<text x=\"32\" y=\"44\" text-anchor=\"middle\" font-family=\"DejaVu Sans\" "
                                    "font-weight=\"bold\" font-size=\"34\" fill=\"#fff\">N</text>\n");
    if (name == "radar_target")
        return svg::document(size, size,
                             svg::circle(32, 32, 24, "fill=\"none\" stroke=\"#0d1014\" stroke-width=\"10\"") +
                                 svg::circle(32, 32, 24, "fill=\"none\" stroke=\"#fff\" stroke-width=\"5\"") +
                                 svg::circle(32, 32, 8, "fill=\"#fff\" " + outline));
    if (body.empty())
        return {};
    return svg::document(size, size, disc + placed(body, 13, 13, 38, "#fff"));
}

bool parseStations(const std::string& text, std::vector<Station>& out, std::string& error)
{
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::istringstream words(line);
        Station s;
        std::string extra;
        if (!(words >> s.texture) || s.texture[0] == '#')
            continue;
        auto colour = [](const std::string& c) {
            return c.size() == 7 && c[0] == '#' &&
                   std::all_of(c.begin() + 1, c.end(), [](char h) { return std::isxdigit(static_cast<unsigned char>(h)); });
        };
        if (!(words >> s.top >> s.bottom >> s.label) || (words >> extra && extra[0] != '#') || !colour(s.top) ||
            !colour(s.bottom)) {
            error = "line " + std::to_string(number) + ": expected TEXTURE #RRGGBB #RRGGBB LABEL";
            return false;
        }
        std::replace(s.label.begin(), s.label.end(), '_', ' ');
        out.push_back(s);
    }
    return true;
}

std::string radioLogo(const Station& s, const std::string& body)
{
    constexpr int size = 256;
    // The label's size follows its length so that every label fits the badge.
    double fontSize = std::min(36.0, 180.0 / (0.8 * std::max<std::size_t>(1, s.label.size())));
    std::string label = svg::escape(s.label);
    std::string text = "text-anchor=\"middle\" font-family=\"DejaVu Sans\" font-weight=\"bold\" font-size=\"" +
                       num(fontSize) + "\"";
    std::string b = "<defs><linearGradient id=\"g\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\"><stop offset=\"0\" stop-color=\"" +
                    s.top + "\"/><stop offset=\"1\" stop-color=\"" + s.bottom + "\"/></linearGradient></defs>\n";
    b += svg::circle(128, 128, 122, "fill=\"url(#g)\" stroke=\"#0d1014\" stroke-width=\"5\"");
    b += svg::circle(128, 128, 114, "fill=\"none\" stroke=\"#fff\" stroke-width=\"5\" stroke-opacity=\"0.9\"");
    b += placed(body, 70, 34, 116, "#000", "opacity=\"0.3\" transform=\"translate(4 5)\"");
    b += placed(body, 70, 34, 116, "#fff");
    b += "<text x=\"130\" y=\"" + num(202 + 2) + "\" " + text + " fill=\"#000\" fill-opacity=\"0.4\">" + label + "</text>\n";
    b += "<text x=\"128\" y=\"202\" " + text + " fill=\"#fff\">" + label + "</text>\n";
    return svg::document(size, size, b);
}

} // namespace art
