#include "tools/host/svg/SvgPath.h"

#include <svgpp/utility/arc_endpoint_to_center.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/host/svg/SvgGrammar.h"

namespace tavrel::hostmodel {
namespace {

Point Lerp(Point a, Point b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

bool Finite(double v) { return std::isfinite(v); }

class PathBuilder final : public PathSink {
 public:
  void MoveTo(Point p) override {
    Flush();
    current_ = {p, {}, false};
    pen_ = p;
  }
  void LineTo(Point p) override {
    current_.segments.push_back({false, {}, {}, p});
    pen_ = p;
  }
  void CubicTo(Point c1, Point c2, Point p) override {
    current_.segments.push_back({true, c1, c2, p});
    pen_ = p;
  }
  void QuadTo(Point c, Point p) override { CubicTo(Lerp(pen_, c, 2.0 / 3), Lerp(p, c, 2.0 / 3), p); }

  // The endpoint arc in its centre form, then cubics of at most a quarter
  // turn; out-of-range radii are scaled up to reach the end point.
  void ArcTo(double rx, double ry, double rotationDegrees, bool largeArc, bool sweep, Point p) override {
    const Point from = pen_;
    if (from.x == p.x && from.y == p.y) return;  // an arc to its own start is left out
    rx = std::abs(rx);
    ry = std::abs(ry);
    if (rx == 0 || ry == 0 || !Finite(rx) || !Finite(ry) || !Finite(rotationDegrees)) {
      LineTo(p);
      return;
    }
    const double phi = std::fmod(rotationDegrees, 360) * std::numbers::pi / 180;
    double cx = 0, cy = 0, theta1 = 0, theta2 = 0;
    svgpp::arc_endpoint_to_center(from.x, from.y, p.x, p.y, rx, ry, phi, largeArc, sweep, cx, cy, theta1,
                                  theta2);
    if (!Finite(cx) || !Finite(cy) || !Finite(theta1) || !Finite(theta2) || !Finite(rx) || !Finite(ry)) {
      LineTo(p);
      return;
    }
    constexpr double kTurn = 2 * std::numbers::pi;
    if (sweep && theta2 < theta1) theta2 += kTurn;
    if (!sweep && theta2 > theta1) theta2 -= kTurn;
    // Each piece of at most a quarter turn is a cubic whose handles are
    // 4/3 tan(delta/4) of the radius long, along the tangents.
    const int pieces =
        std::max(1, static_cast<int>(std::ceil(std::abs(theta2 - theta1) / (std::numbers::pi / 2) - 1e-9)));
    const double delta = (theta2 - theta1) / pieces;
    const double handle = 4.0 / 3 * std::tan(delta / 4);
    const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
    auto at = [&](double t) {
      return Point{cx + rx * std::cos(t) * cosPhi - ry * std::sin(t) * sinPhi,
                   cy + rx * std::cos(t) * sinPhi + ry * std::sin(t) * cosPhi};
    };
    auto derivative = [&](double t) {
      return Point{-rx * std::sin(t) * cosPhi - ry * std::cos(t) * sinPhi,
                   -rx * std::sin(t) * sinPhi + ry * std::cos(t) * cosPhi};
    };
    for (int i = 0; i < pieces; ++i) {
      const double t1 = theta1 + i * delta, t2 = t1 + delta;
      const Point p1 = at(t1), p2 = at(t2), d1 = derivative(t1), d2 = derivative(t2);
      CubicTo({p1.x + handle * d1.x, p1.y + handle * d1.y}, {p2.x - handle * d2.x, p2.y - handle * d2.y}, p2);
    }
    // The last cubic ends exactly where the path says.
    current_.segments.back().end = p;
    pen_ = p;
  }

  void Close() override {
    current_.closed = true;
    pen_ = current_.start;
    const Point start = current_.start;
    Flush();
    // A command after Z starts from the figure's start.
    current_ = {start, {}, false};
  }

  std::vector<Figure> Finish() {
    Flush();
    return std::move(figures_);
  }

 private:
  void Flush() {
    if (!current_.segments.empty()) figures_.push_back(std::move(current_));
    current_ = {};
  }

  std::vector<Figure> figures_;
  Figure current_;
  Point pen_;
};

}  // namespace

PathData ParsePathData(std::string_view data) {
  PathBuilder builder;
  const bool complete = ParsePathGrammar(data, builder);
  return {builder.Finish(), complete};
}

}  // namespace tavrel::hostmodel
