#include "tools/host/svg/SvgReader.h"

#include <cmath>
#include <cstdlib>
#include <set>
#include <stdexcept>

#include "tools/host/svg/SvgPath.h"
#include "tools/host/svg/SvgStyle.h"
#include "tools/host/svg/XmlSource.h"

namespace tavrel::hostmodel {
namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

// Cubic approximation of a quarter ellipse.
constexpr double kKappa = 0.5522847498307936;

const std::string* Find(const Attributes& attributes, std::string_view name) {
  for (const auto& [key, value] : attributes) {
    if (key == name) return &value;
  }
  return nullptr;
}

double Length(const Attributes& attributes, std::string_view name, double fallback = 0) {
  const std::string* value = Find(attributes, name);
  if (value == nullptr) return fallback;
  char* end = nullptr;
  const double number = std::strtod(value->c_str(), &end);
  if (end == value->c_str()) throw std::runtime_error("attribute " + std::string(name) + " is not a number");
  return number;
}

Figure Polyline(const std::vector<Point>& points, bool closed) {
  Figure figure{points.empty() ? Point{} : points.front(), {}, closed};
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

// The geometry of a shape element before its transform.
void Geometry(const std::string& element, const Attributes& a, Shape& shape) {
  if (element == "rect") {
    const double x = Length(a, "x"), y = Length(a, "y"), w = Length(a, "width"), h = Length(a, "height");
    shape.figures.push_back(Polyline({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, true));
  } else if (element == "circle" || element == "ellipse") {
    const double rx = element == "circle" ? Length(a, "r") : Length(a, "rx");
    const double ry = element == "circle" ? rx : Length(a, "ry");
    shape.ellipse = Ellipse{{Length(a, "cx"), Length(a, "cy")}, rx, ry};
    shape.figures.push_back(EllipseFigure(*shape.ellipse));
  } else if (element == "line") {
    shape.figures.push_back(
        Polyline({{Length(a, "x1"), Length(a, "y1")}, {Length(a, "x2"), Length(a, "y2")}}, false));
  } else if (element == "polyline" || element == "polygon") {
    const std::string* points = Find(a, "points");
    shape.figures.push_back(Polyline(ParsePoints(points ? *points : ""), element == "polygon"));
  } else {
    const std::string* data = Find(a, "d");
    shape.figures = ParsePathData(data ? *data : "");
  }
}

void Transform(const Matrix& m, Shape& shape) {
  for (Figure& figure : shape.figures) {
    figure.start = m.Apply(figure.start);
    for (Segment& s : figure.segments) {
      s.control1 = m.Apply(s.control1);
      s.control2 = m.Apply(s.control2);
      s.end = m.Apply(s.end);
    }
  }
  if (shape.ellipse) {
    if (m.KeepsAxes()) {
      shape.ellipse = Ellipse{m.Apply(shape.ellipse->centre), std::abs(m.a) * shape.ellipse->radiusX,
                              std::abs(m.d) * shape.ellipse->radiusY};
    } else {
      shape.ellipse.reset();  // drawn from its Bezier figure instead
    }
  }
  shape.strokeWidth *= std::sqrt(std::abs(m.a * m.d - m.b * m.c));
}

struct Level {
  Matrix transform;
  Style style;
  bool skipped = false;
};

class Reader {
 public:
  explicit Reader(const std::filesystem::path& file) : file_(file) { drawing_.source = file; }

  Drawing Read() {
    std::unique_ptr<XmlSource> xml = OpenXml(file_);
    XmlEvent event;
    bool root = true;
    while (xml->Next(event)) {
      if (!event.start) {
        if (!stack_.empty()) stack_.pop_back();
        continue;
      }
      if (root) {
        if (event.name != "svg") throw std::runtime_error("the root element is not svg");
        ReadRoot(event.attributes);
        root = false;
      }
      Level level = stack_.empty() ? Level{} : stack_.back();
      level.skipped = level.skipped || kSkipped.count(event.name) != 0;
      if (const std::string* t = Find(event.attributes, "transform")) {
        level.transform = level.transform.Then(ParseTransform(*t));
      }
      level.style = ApplyStyle(level.style, event.attributes);
      if (!level.skipped && kShapes.count(event.name) != 0) AddShape(event, level);
      stack_.push_back(level);
    }
    if (root) throw std::runtime_error("the document is empty");
    return std::move(drawing_);
  }

 private:
  void ReadRoot(const Attributes& a) {
    drawing_.page.width = Length(a, "width", 0);
    drawing_.page.height = Length(a, "height", 0);
    if (const std::string* box = Find(a, "viewBox")) {
      const std::vector<double> n = ParseNumbers(*box);
      if (n.size() == 4 && drawing_.page.width == 0) drawing_.page.width = n[2];
      if (n.size() == 4 && drawing_.page.height == 0) drawing_.page.height = n[3];
    }
    if (drawing_.page.width <= 0 || drawing_.page.height <= 0) {
      throw std::runtime_error("the svg element gives no page size");
    }
  }

  void AddShape(const XmlEvent& event, const Level& level) {
    Shape shape;
    shape.element = event.name;
    if (const std::string* id = Find(event.attributes, "id")) shape.id = *id;
    Geometry(event.name, event.attributes, shape);
    shape.fill = level.style.fill;
    shape.stroke = level.style.stroke;
    shape.strokeWidth = level.style.strokeWidth;
    // Open outlines are only stroked.
    if (event.name == "line" || event.name == "polyline") shape.fill.reset();
    Transform(level.transform, shape);
    drawing_.page.shapes.push_back(std::move(shape));
  }

  inline static const std::set<std::string> kShapes = {"rect",     "circle",  "ellipse", "line",
                                                       "polyline", "polygon", "path"};
  inline static const std::set<std::string> kSkipped = {"defs",    "clipPath", "mask",  "marker",
                                                        "pattern", "symbol",   "title", "desc"};
  std::filesystem::path file_;
  Drawing drawing_;
  std::vector<Level> stack_;
};

}  // namespace

Drawing ReadSvg(const std::filesystem::path& file) {
  try {
    return Reader(file).Read();
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(file.string() + ": " + e.what());
  }
}

}  // namespace tavrel::hostmodel
