#pragma once

#include <string>

// Small helpers that write SVG text. The art is composed as SVG and rendered by
// rsvg-convert, so every picture is a vector source that anyone can open and edit.

namespace art::svg {

// An SVG document of width x height pixels whose user units are the same pixels.
std::string document(int width, int height, const std::string& body);
// The same with its own user space: the view box (x, y, w, h) fills the picture.
std::string document(int width, int height, const std::string& viewBox, const std::string& body);

std::string circle(double cx, double cy, double r, const std::string& attributes);
// A circular arc as an open polyline, angles in degrees clockwise from straight down
// (6 o'clock), so that 0..180 runs up the left side and 0..-180 up the right side.
std::string arc(double cx, double cy, double r, double fromDegrees, double toDegrees, const std::string& attributes);
// The point of the circle at that angle, and the same as "x,y".
struct Point {
    double x, y;
};
Point onCircle(double cx, double cy, double r, double degrees);
std::string pointOnCircle(double cx, double cy, double r, double degrees);

// Text with &, <, > and quotes escaped.
std::string escape(const std::string& text);

// The content of an SVG file between its root element's tags, for use inside another
// picture; empty if the text has no <svg ...> ... </svg>.
std::string innerContent(const std::string& file);

// A number written short: at most three decimals, no trailing zeros.
std::string num(double value);

} // namespace art::svg
