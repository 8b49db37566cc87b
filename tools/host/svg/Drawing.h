// The stand-in host's drawing model: documents of one page each, whose shapes
// are outlines of straight and cubic segments (ellipses kept as such so they
// export as ellipses), with a fill and a stroke.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavrel::hostmodel {

struct Point {
  double x = 0;
  double y = 0;
};

struct Segment {
  bool cubic = false;
  Point control1;
  Point control2;
  Point end;
};

struct Figure {
  Point start;
  std::vector<Segment> segments;
  bool closed = false;
};

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Color&) const = default;
};

struct Ellipse {
  Point centre;
  double radiusX = 0;
  double radiusY = 0;
};

struct Shape {
  std::string id;
  // The element it came from: "rect", "circle", "ellipse", "line",
  // "polyline", "polygon" or "path".
  std::string element;
  std::vector<Figure> figures;
  // Set for circles and ellipses whose transform keeps their axes.
  std::optional<Ellipse> ellipse;
  std::optional<Color> fill;
  std::optional<Color> stroke;
  double strokeWidth = 1;
  // Filled by the even-odd rule, else by the non-zero winding rule.
  bool evenOdd = false;
};

struct Page {
  double width = 0;
  double height = 0;
  std::vector<Shape> shapes;
};

struct Drawing {
  std::filesystem::path source;
  Page page;
  // What the reader drew approximately or left out, in words, sorted.
  std::vector<std::string> skipped;
};

}  // namespace tavrel::hostmodel
