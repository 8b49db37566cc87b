#include "tools/host/emf/InkBox.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace tavrel::hostmodel {
namespace {

class Extent {
 public:
  void Add(Point p) {
    if (!box_) {
      box_ = Box{p.x, p.y, p.x, p.y};
      return;
    }
    box_->left = (std::min)(box_->left, p.x);
    box_->top = (std::min)(box_->top, p.y);
    box_->right = (std::max)(box_->right, p.x);
    box_->bottom = (std::max)(box_->bottom, p.y);
  }
  void Add(const Box& box) {
    Add(Point{box.left, box.top});
    Add(Point{box.right, box.bottom});
  }
  const std::optional<Box>& Get() const { return box_; }

 private:
  std::optional<Box> box_;
};

double Cubic(double p0, double p1, double p2, double p3, double t) {
  const double u = 1 - t;
  return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

// The parameters in (0, 1) where one coordinate of a cubic turns.
std::vector<double> Turns(double p0, double p1, double p2, double p3) {
  // The derivative divided by 3: a t^2 + b t + c.
  const double a = -p0 + 3 * p1 - 3 * p2 + p3;
  const double b = 2 * (p0 - 2 * p1 + p2);
  const double c = p1 - p0;
  std::vector<double> roots;
  if (std::abs(a) < 1e-12) {
    if (std::abs(b) > 1e-12) roots.push_back(-c / b);
  } else {
    const double discriminant = b * b - 4 * a * c;
    if (discriminant >= 0) {
      const double root = std::sqrt(discriminant);
      roots.push_back((-b + root) / (2 * a));
      roots.push_back((-b - root) / (2 * a));
    }
  }
  std::erase_if(roots, [](double t) { return !(t > 0 && t < 1); });
  return roots;
}

void AddSegment(Extent& extent, Point from, const Segment& s) {
  extent.Add(s.end);
  if (!s.cubic) return;
  for (const bool horizontal : {true, false}) {
    auto axis = [&](Point p) { return horizontal ? p.x : p.y; };
    for (const double t : Turns(axis(from), axis(s.control1), axis(s.control2), axis(s.end))) {
      extent.Add(Point{Cubic(from.x, s.control1.x, s.control2.x, s.end.x, t),
                       Cubic(from.y, s.control1.y, s.control2.y, s.end.y, t)});
    }
  }
}

// The first of `towards` away from `from`, as a vector; zero when none is.
Point Direction(Point from, std::initializer_list<Point> towards) {
  for (const Point p : towards) {
    if (p.x != from.x || p.y != from.y) return {p.x - from.x, p.y - from.y};
  }
  return {};
}

// The direction in which a segment leaves `from`, and the one in which it
// arrives at its end; zero vectors for a segment that does not move.
Point Leaving(Point from, const Segment& s) {
  return s.cubic ? Direction(from, {s.control1, s.control2, s.end}) : Direction(from, {s.end});
}
Point Arriving(Point from, const Segment& s) {
  const Point back = s.cubic ? Direction(s.end, {s.control2, s.control1, from}) : Direction(s.end, {from});
  return {-back.x, -back.y};
}

// The tip of the miter at a corner reached along `in` and left along `out`,
// when it is drawn (within the miter limit).
std::optional<Point> MiterTip(Point corner, Point in, Point out, double halfWidth) {
  const double inLength = std::hypot(in.x, in.y), outLength = std::hypot(out.x, out.y);
  if (inLength == 0 || outLength == 0) return std::nullopt;
  in = {in.x / inLength, in.y / inLength};
  out = {out.x / outLength, out.y / outLength};
  // The tip lies on the bisector of the outer angle, halfWidth / sin(theta/2)
  // from the corner, theta being the angle between the two edges.
  const Point bisector = {in.x - out.x, in.y - out.y};
  const double bisectorLength = std::hypot(bisector.x, bisector.y);
  const double cosTurn = in.x * out.x + in.y * out.y;
  const double sinHalfAngle = std::sqrt((std::max)(0.0, (1 + cosTurn) / 2));
  if (bisectorLength < 1e-12 || sinHalfAngle * kMiterLimit < 1) return std::nullopt;
  const double distance = halfWidth / sinHalfAngle;
  return Point{corner.x + bisector.x / bisectorLength * distance,
               corner.y + bisector.y / bisectorLength * distance};
}

void AddMiters(Extent& extent, const Figure& figure, double halfWidth) {
  const std::vector<Segment>& segments = figure.segments;
  std::vector<Point> starts = {figure.start};
  for (const Segment& s : segments) starts.push_back(s.end);
  for (std::size_t i = 0; i + 1 < segments.size(); ++i) {
    if (auto tip = MiterTip(segments[i].end, Arriving(starts[i], segments[i]),
                            Leaving(starts[i + 1], segments[i + 1]), halfWidth))
      extent.Add(*tip);
  }
  if (figure.closed && !segments.empty()) {
    const Point last = segments.back().end;
    const Segment closing{false, {}, {}, figure.start};
    const Point first = Leaving(figure.start, segments.front());
    if (last.x != figure.start.x || last.y != figure.start.y) {
      // The closing line: corners at its both ends.
      if (auto tip = MiterTip(last, Arriving(starts[segments.size() - 1], segments.back()),
                              Leaving(last, closing), halfWidth))
        extent.Add(*tip);
      if (auto tip = MiterTip(figure.start, Arriving(last, closing), first, halfWidth)) extent.Add(*tip);
    } else if (auto tip = MiterTip(figure.start, Arriving(starts[segments.size() - 1], segments.back()),
                                   first, halfWidth)) {
      extent.Add(*tip);
    }
  }
}

std::optional<Box> ShapeBox(const Shape& shape) {
  Extent extent;
  if (shape.ellipse) {
    const Ellipse& e = *shape.ellipse;
    extent.Add(
        Box{e.centre.x - e.radiusX, e.centre.y - e.radiusY, e.centre.x + e.radiusX, e.centre.y + e.radiusY});
  } else {
    for (const Figure& figure : shape.figures) {
      extent.Add(figure.start);
      Point from = figure.start;
      for (const Segment& s : figure.segments) {
        AddSegment(extent, from, s);
        from = s.end;
      }
    }
  }
  if (!extent.Get()) return std::nullopt;
  Box box = *extent.Get();
  if (Stroked(shape)) {
    const double half = shape.strokeWidth / 2;
    box = {box.left - half, box.top - half, box.right + half, box.bottom + half};
    if (!shape.ellipse) {
      Extent miters;
      miters.Add(box);
      for (const Figure& figure : shape.figures) AddMiters(miters, figure, half);
      box = *miters.Get();
    }
  } else if (!shape.fill) {
    return std::nullopt;
  }
  return box;
}

}  // namespace

bool Stroked(const Shape& shape) { return shape.stroke.has_value() && shape.strokeWidth > 0; }

std::optional<Box> InkBox(const std::vector<const Shape*>& shapes) {
  Extent extent;
  for (const Shape* shape : shapes) {
    if (const std::optional<Box> box = ShapeBox(*shape)) extent.Add(*box);
  }
  return extent.Get();
}

}  // namespace tavrel::hostmodel
