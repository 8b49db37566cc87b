#include "tools/host/svg/SvgShapes.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "tools/host/svg/SvgNumbers.h"
#include "tools/host/svg/SvgPath.h"

namespace tavrel::hostmodel {
namespace {

// Cubic approximation of a quarter ellipse.
constexpr double kKappa = 0.5522847498307936;

// A coordinate or length attribute; absent or malformed values count as 0.
double Length(const Element& element, std::string_view name, double percentOf) {
  const std::string* value = element.Attribute(name);
  return value == nullptr ? 0 : ParseLength(*value, percentOf).value_or(0);
}

Figure Polyline(const std::vector<Point>& points, bool closed) {
  Figure figure{points.empty() ? Point{} : points.front(), {}, closed};
  figure.segments.reserve(points.size());
  for (std::size_t i = 1; i < points.size(); ++i) figure.segments.push_back({false, {}, {}, points[i]});
  return figure;
}

Figure EllipseFigure(const Ellipse& e) {
  const double kx = e.radiusX * kKappa;
  const double ky = e.radiusY * kKappa;
  const Point c = e.centre;
  const double rx = e.radiusX;
  const double ry = e.radiusY;
  Figure figure{{c.x + rx, c.y}, {}, true};
  figure.segments = {
      {true, {c.x + rx, c.y + ky}, {c.x + kx, c.y + ry}, {c.x, c.y + ry}},
      {true, {c.x - kx, c.y + ry}, {c.x - rx, c.y + ky}, {c.x - rx, c.y}},
      {true, {c.x - rx, c.y - ky}, {c.x - kx, c.y - ry}, {c.x, c.y - ry}},
      {true, {c.x + kx, c.y - ry}, {c.x + rx, c.y - ky}, {c.x + rx, c.y}},
  };
  return figure;
}

// A rectangle, its corners rounded by quarter ellipses of rx, ry.
Figure RoundedRect(double x, double y, double w, double h, double rx, double ry) {
  if (rx <= 0 || ry <= 0) return Polyline({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, true);
  const double kx = rx * (1 - kKappa);
  const double ky = ry * (1 - kKappa);
  const double r = x + w;
  const double b = y + h;
  Figure f{{x + rx, y}, {}, true};
  f.segments = {
      {false, {}, {}, {r - rx, y}}, {true, {r - kx, y}, {r, y + ky}, {r, y + ry}},
      {false, {}, {}, {r, b - ry}}, {true, {r, b - ky}, {r - kx, b}, {r - rx, b}},
      {false, {}, {}, {x + rx, b}}, {true, {x + kx, b}, {x, b - ky}, {x, b - ry}},
      {false, {}, {}, {x, y + ry}}, {true, {x, y + ky}, {x + kx, y}, {x + rx, y}},
  };
  return f;
}

}  // namespace

bool IsShapeElement(const std::string& name) {
  static const std::set<std::string, std::less<>> kShapes = {"rect",     "circle",  "ellipse", "line",
                                                             "polyline", "polygon", "path"};
  return kShapes.count(name) != 0;
}

bool ShapeGeometry(const Element& element, const Viewport& viewport, Shape& shape) {
  const std::string& name = element.name;
  const double w = viewport.width;
  const double h = viewport.height;
  const double diagonal = std::sqrt((w * w + h * h) / 2);
  if (name == "rect") {
    const double width = Length(element, "width", w), height = Length(element, "height", h);
    if (!(width > 0 && height > 0)) return true;
    const bool hasRx = element.Attribute("rx") != nullptr, hasRy = element.Attribute("ry") != nullptr;
    double rx = Length(element, "rx", w), ry = Length(element, "ry", h);
    if (hasRx && !hasRy) ry = rx;
    if (hasRy && !hasRx) rx = ry;
    rx = std::clamp(rx, 0.0, width / 2);
    ry = std::clamp(ry, 0.0, height / 2);
    shape.figures.push_back(
        RoundedRect(Length(element, "x", w), Length(element, "y", h), width, height, rx, ry));
  } else if (name == "circle" || name == "ellipse") {
    double rx = 0, ry = 0;
    if (name == "circle") {
      rx = ry = Length(element, "r", diagonal);
    } else {
      // One radius given stands for both.
      rx = Length(element, "rx", w);
      ry = Length(element, "ry", h);
      if (element.Attribute("ry") == nullptr) ry = rx;
      if (element.Attribute("rx") == nullptr) rx = ry;
    }
    if (!(rx > 0 && ry > 0)) return true;
    shape.ellipse = Ellipse{{Length(element, "cx", w), Length(element, "cy", h)}, rx, ry};
    shape.figures.push_back(EllipseFigure(*shape.ellipse));
  } else if (name == "line") {
    shape.figures.push_back(Polyline({{Length(element, "x1", w), Length(element, "y1", h)},
                                      {Length(element, "x2", w), Length(element, "y2", h)}},
                                     false));
  } else if (name == "polyline" || name == "polygon") {
    const std::string* points = element.Attribute("points");
    const std::vector<Point> corners = ParsePoints(points ? *points : "");
    if (corners.size() >= 2) shape.figures.push_back(Polyline(corners, name == "polygon"));
  } else if (name == "path") {
    const std::string* data = element.Attribute("d");
    if (data == nullptr || data->find_first_not_of(" \t\r\n") == std::string::npos) return true;
    PathData path = ParsePathData(*data);
    shape.figures = std::move(path.figures);
    return path.complete;
  }
  return true;
}

}  // namespace tavrel::hostmodel
