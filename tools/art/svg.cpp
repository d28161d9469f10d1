#include "svg.h"

#include <cmath>
#include <cstdio>

namespace art::svg {

std::string num(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    std::string s = text;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string document(int width, int height, const std::string& body)
{
    return document(width, height, "0 0 " + std::to_string(width) + " " + std::to_string(height), body);
}

std::string document(int width, int height, const std::string& viewBox, const std::string& body)
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) + "\" height=\"" +
           std::to_string(height) + "\" viewBox=\"" + viewBox + "\">\n" + body + "</svg>\n";
}

std::string circle(double cx, double cy, double r, const std::string& attributes)
{
    return "<circle cx=\"" + num(cx) + "\" cy=\"" + num(cy) + "\" r=\"" + num(r) + "\" " + attributes + "/>\n";
}

Point onCircle(double cx, double cy, double r, double degrees)
{
    double a = degrees * M_PI / 180.0;
    return {cx - r * std::sin(a), cy + r * std::cos(a)};
}

std::string pointOnCircle(double cx, double cy, double r, double degrees)
{
    Point p = onCircle(cx, cy, r, degrees);
    return num(p.x) + "," + num(p.y);
}

std::string arc(double cx, double cy, double r, double fromDegrees, double toDegrees, const std::string& attributes)
{
    // Points every degree or closer: smooth at any size the pictures are rendered at.
    int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(toDegrees - fromDegrees))));
    std::string points;
    for (int i = 0; i <= steps; ++i) {
        if (i)
            points += ' ';
        points += pointOnCircle(cx, cy, r, fromDegrees + (toDegrees - fromDegrees) * i / steps);
    }
    return "<polyline points=\"" + points + "\" fill=\"none\" " + attributes + "/>\n";
}

std::string escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string innerContent(const std::string& file)
{
    std::size_t root = file.find("<svg");
    if (root == std::string::npos)
        return {};
    std::size_t open = file.find('>', root);
    std::size_t close = file.rfind("</svg>");
    if (open == std::string::npos || close == std::string::npos || close < open)
        return {};
    return file.substr(open + 1, close - open - 1);
}

} // namespace art::svg
