#include "tools/host/emf/EmfExport.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/UniqueHandle.h"
#include "tools/host/emf/EmfHeader.h"
#include "tools/host/emf/Gdi.h"
#include "tools/host/emf/InkBox.h"
#include "tools/host/model/FilePath.h"

namespace tavrel::hostmodel {
namespace {

constexpr double kHundredthsMmPerUnit = 2540.0 / 96;

// Points per polygon, polyline or path-drawing record: far below 32768, so
// no writer's 16-bit count is ever reached; longer outlines are drawn as
// paths of several records.
constexpr std::size_t kMaxRecordPoints = 8190;

// Refuses what the metafile cannot hold, naming it.
class LimitCheck {
 public:
  void Size(const char* what, double value) {
    if (!std::isfinite(value) || value <= 0 || value > kMaxDrawingUnits) {
      Fail(std::string("the page ") + what, value);
    }
  }
  void Coordinate(const Shape& shape, Point p) {
    for (const double v : {p.x, p.y}) {
      if (!std::isfinite(v) || std::abs(v) > kMaxDrawingUnits) Fail(Name(shape) + " has a coordinate", v);
    }
  }
  void Shape(const hostmodel::Shape& shape) {
    for (const Figure& figure : shape.figures) {
      Coordinate(shape, figure.start);
      for (const Segment& s : figure.segments) {
        Coordinate(shape, s.end);
        if (s.cubic) {
          Coordinate(shape, s.control1);
          Coordinate(shape, s.control2);
        }
      }
    }
    if (!std::isfinite(shape.strokeWidth) || shape.strokeWidth > kMaxDrawingUnits) {
      Fail(Name(shape) + " has a stroke width", shape.strokeWidth);
    }
  }

 private:
  static std::string Name(const hostmodel::Shape& shape) {
    return "the " + shape.element + (shape.id.empty() ? std::string() : " \"" + shape.id + "\"");
  }
  [[noreturn]] static void Fail(const std::string& what, double value) {
    std::ostringstream out;
    out << what << " of " << value << ", beyond what a metafile holds (finite, up to " << kMaxDrawingUnits
        << " units)";
    throw DrawingLimitError(out.str());
  }
};

// A pen or brush, deleted on every path.
using GdiObject = platform::UniqueHandle<platform::NullHandleTraits<HGDIOBJ, &DeleteObject>>;
// A finished metafile's handle (its file stays).
using Metafile = platform::UniqueHandle<platform::NullHandleTraits<HENHMETAFILE, &DeleteEnhMetaFile>>;

// Ends a recording that failed part-way: the file is closed as far as it got.
void AbandonRecording(HDC dc) { const Metafile abandoned(CloseEnhMetaFile(dc)); }
// A metafile being recorded, until CloseEnhMetaFile finishes it.
using RecordingDc = platform::UniqueHandle<platform::NullHandleTraits<HDC, &AbandonRecording>>;

class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

LOGBRUSH SolidBrush(const Color& color) {
  LOGBRUSH brush{};
  brush.lbStyle = BS_SOLID;
  brush.lbColor = RGB(color.red, color.green, color.blue);
  return brush;
}

// Draws shapes in logical units, unitsPerPageUnit to an SVG unit: a
// fraction of the reference device's units, onto which a world transform
// maps them.
class Painter {
 public:
  Painter(HDC dc, double unitsPerPageUnit) : dc_(dc), scale_(unitsPerPageUnit) {}

  void Draw(const Shape& shape) {
    const int fillMode = shape.evenOdd ? ALTERNATE : WINDING;
    if (fillMode != fillMode_) {
      fillMode_ = fillMode;
      SetPolyFillMode(dc_, fillMode);
    }
    const bool stroked = Stroked(shape);
    // A geometric pen is drawn at its width by every player; mitred corners
    // and flat ends, as SVG draws them by default.
    const LOGBRUSH penBrush = SolidBrush(shape.stroke.value_or(Color{}));
    const auto width = static_cast<DWORD>((std::max)(1L, std::lround(shape.strokeWidth * scale_)));
    GdiObject pen(stroked ? ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, width,
                                         &penBrush, 0, nullptr)
                          : HPEN{});
    GdiObject brush(shape.fill ? CreateSolidBrush(SolidBrush(*shape.fill).lbColor) : HBRUSH{});
    Selected usePen(dc_, pen.Get() != HGDIOBJ{} ? pen.Get() : GetStockObject(NULL_PEN));
    Selected useBrush(dc_, brush.Get() != HGDIOBJ{} ? brush.Get() : GetStockObject(NULL_BRUSH));

    if (shape.ellipse) {
      const Ellipse& e = *shape.ellipse;
      const POINT topLeft = At({e.centre.x - e.radiusX, e.centre.y - e.radiusY});
      const POINT bottomRight = At({e.centre.x + e.radiusX, e.centre.y + e.radiusY});
      ::Ellipse(dc_, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
      return;
    }
    const bool anyOpen =
        std::any_of(shape.figures.begin(), shape.figures.end(), [](const Figure& f) { return !f.closed; });
    if (shape.figures.size() == 1 && Straight(shape.figures.front()) &&
        shape.figures.front().segments.size() < kMaxRecordPoints && (!anyOpen || !shape.fill)) {
      const std::vector<POINT> points = Corners(shape.figures.front());
      if (anyOpen) {
        Polyline(dc_, points.data(), static_cast<int>(points.size()));
      } else {
        Polygon(dc_, points.data(), static_cast<int>(points.size()));
      }
      return;
    }
    if (!anyOpen || !stroked) {
      DrawPath(shape, [](const Figure&) { return true; });
      Paint(shape.fill.has_value(), stroked);
      return;
    }
    // Players that close every figure of a path would stroke an open
    // outline closed: open figures are stroked outside path brackets.
    if (shape.fill) {
      DrawPath(shape, [](const Figure&) { return true; });
      FillPath(dc_);
    }
    if (DrawPath(shape, [](const Figure& f) { return f.closed; })) StrokePath(dc_);
    for (const Figure& figure : shape.figures) {
      if (!figure.closed) DrawOpen(figure);
    }
  }

 private:
  POINT At(Point p) const {
    return {static_cast<LONG>(std::lround(p.x * scale_)), static_cast<LONG>(std::lround(p.y * scale_))};
  }
  static bool Straight(const Figure& figure) {
    return std::none_of(figure.segments.begin(), figure.segments.end(),
                        [](const Segment& s) { return s.cubic; });
  }
  std::vector<POINT> Corners(const Figure& figure) const {
    std::vector<POINT> points = {At(figure.start)};
    for (const Segment& s : figure.segments) points.push_back(At(s.end));
    return points;
  }

  void Paint(bool fill, bool stroke) {
    if (fill && stroke) {
      StrokeAndFillPath(dc_);
    } else if (fill) {
      FillPath(dc_);
    } else {
      StrokePath(dc_);
    }
  }

  // An open figure as polylines, or as Bezier curves (its lines as straight
  // cubics) when it has curves, in records of at most kMaxRecordPoints.
  void DrawOpen(const Figure& figure) {
    const bool straight = Straight(figure);
    std::vector<POINT> run = {At(figure.start)};
    Point from = figure.start;
    auto flush = [&]() {
      if (run.size() < 2) return;
      if (straight) {
        Polyline(dc_, run.data(), static_cast<int>(run.size()));
      } else {
        PolyBezier(dc_, run.data(), static_cast<DWORD>(run.size()));
      }
      run = {run.back()};
    };
    for (const Segment& s : figure.segments) {
      if (run.size() + 3 > kMaxRecordPoints) flush();
      if (!straight) {
        const Point c1 =
            s.cubic ? s.control1 : Point{from.x + (s.end.x - from.x) / 3, from.y + (s.end.y - from.y) / 3};
        const Point c2 =
            s.cubic ? s.control2
                    : Point{from.x + 2 * (s.end.x - from.x) / 3, from.y + 2 * (s.end.y - from.y) / 3};
        run.push_back(At(c1));
        run.push_back(At(c2));
      }
      run.push_back(At(s.end));
      from = s.end;
    }
    flush();
  }

  // The figures that `include` picks as one path: runs of straight segments
  // become PolylineTo records, runs of cubics PolyBezierTo records, each of
  // at most kMaxRecordPoints points. False when it picks none (no path).
  template <class Include>
  bool DrawPath(const Shape& shape, Include include) {
    if (std::none_of(shape.figures.begin(), shape.figures.end(), include)) return false;
    BeginPath(dc_);
    std::vector<POINT> run;
    bool runCubic = false;
    auto flush = [&]() {
      if (run.empty()) return;
      if (runCubic) {
        PolyBezierTo(dc_, run.data(), static_cast<DWORD>(run.size()));
      } else {
        PolylineTo(dc_, run.data(), static_cast<DWORD>(run.size()));
      }
      run.clear();
    };
    for (const Figure& figure : shape.figures) {
      if (!include(figure)) continue;
      const POINT start = At(figure.start);
      MoveToEx(dc_, start.x, start.y, nullptr);
      for (const Segment& s : figure.segments) {
        if (s.cubic != runCubic || run.size() + 3 > kMaxRecordPoints) {
          flush();
          runCubic = s.cubic;
        }
        if (s.cubic) {
          run.push_back(At(s.control1));
          run.push_back(At(s.control2));
        }
        run.push_back(At(s.end));
      }
      flush();
      if (figure.closed) CloseFigure(dc_);
    }
    EndPath(dc_);
    return true;
  }

  HDC dc_;
  double scale_;
  int fillMode_ = 0;  // none set yet
};

// The largest magnitude among the page's size and the shapes' coordinates.
double Extent(const Page& page, const std::vector<const Shape*>& shapes) {
  double extent = (std::max)(page.width, page.height);
  auto add = [&](Point p) { extent = (std::max)({extent, std::abs(p.x), std::abs(p.y)}); };
  for (const Shape* shape : shapes) {
    for (const Figure& figure : shape->figures) {
      add(figure.start);
      for (const Segment& s : figure.segments) {
        add(s.control1);
        add(s.control2);
        add(s.end);
      }
    }
    if (shape->ellipse) {
      const Ellipse& e = *shape->ellipse;
      add({std::abs(e.centre.x) + e.radiusX, std::abs(e.centre.y) + e.radiusY});
    }
  }
  return extent;
}

// Logical units per device unit: the largest of these that keeps every
// logical coordinate within 2^26, so coordinates and pen widths keep
// fractions of a device unit and stay far inside what GDI computes with.
// The world transform is the reciprocal, and each of these reciprocals is
// exact in four decimals (0.01, 0.0125 ... 0.0625 ... 1), so players that
// print the transform with four decimals draw it unchanged.
double LogicalPerDevice(double deviceExtent) {
  for (const double units : {100.0, 80.0, 50.0, 40.0, 25.0, 20.0, 16.0, 10.0, 8.0, 5.0, 4.0, 2.0}) {
    if (deviceExtent * units <= 67108864.0) return units;
  }
  return 1;
}

// The ink box, clipped to the page, as header bounds (device units at
// `devicePerUnit`) and frame (0.01 mm); nothing inked gives empty bounds
// and the page as the frame.
std::pair<HeaderRect, HeaderRect> HeaderBox(const std::optional<Box>& ink, const Page& page,
                                            double devicePerUnit) {
  auto whole = [](double v, double scale, bool up) {
    return static_cast<std::int32_t>(up ? std::ceil(v * scale - 1e-9) : std::floor(v * scale + 1e-9));
  };
  const Box clipped = ink ? Box{(std::max)(ink->left, 0.0), (std::max)(ink->top, 0.0),
                                (std::min)(ink->right, page.width), (std::min)(ink->bottom, page.height)}
                          : Box{};
  if (!ink || clipped.left >= clipped.right || clipped.top >= clipped.bottom) {
    return {HeaderRect{0, 0, -1, -1}, HeaderRect{0, 0, whole(page.width, kHundredthsMmPerUnit, true),
                                                 whole(page.height, kHundredthsMmPerUnit, true)}};
  }
  // Every device pixel the ink touches, and on the right and at the bottom
  // the one after it: players that size the picture as right - left (as
  // emf2svg-conv does) then still show the whole ink.
  const HeaderRect bounds = {
      whole(clipped.left, devicePerUnit, false), whole(clipped.top, devicePerUnit, false),
      whole(clipped.right, devicePerUnit, true), whole(clipped.bottom, devicePerUnit, true)};
  const HeaderRect frame = {
      whole(clipped.left, kHundredthsMmPerUnit, false), whole(clipped.top, kHundredthsMmPerUnit, false),
      whole(clipped.right, kHundredthsMmPerUnit, true), whole(clipped.bottom, kHundredthsMmPerUnit, true)};
  return {bounds, frame};
}

}  // namespace

void WriteEmf(const std::filesystem::path& file, const Page& page, const std::vector<const Shape*>& shapes) {
  LimitCheck check;
  check.Size("width", page.width);
  check.Size("height", page.height);
  for (const Shape* shape : shapes) check.Shape(*shape);
  const RECT pageFrame = {0, 0, static_cast<LONG>(std::lround(page.width * kHundredthsMmPerUnit)),
                          static_cast<LONG>(std::lround(page.height * kHundredthsMmPerUnit))};
  double devicePerUnit = 0;
  {
    RecordingDc recording(CreateMetafileDc(file, pageFrame));
    if (!recording) throw std::runtime_error("cannot create the metafile " + PathText(file));
    HDC dc = recording.Get();
    // Device units per SVG unit, from the reference device's resolution.
    const double pixelsPerMm = static_cast<double>(GetDeviceCaps(dc, HORZRES)) / GetDeviceCaps(dc, HORZSIZE);
    devicePerUnit = pixelsPerMm * 25.4 / 96;
    const double logicalPerDevice = LogicalPerDevice(Extent(page, shapes) * devicePerUnit);
    SetDeviceScale(dc, 1 / logicalPerDevice);
    SetMiterLimit(dc, static_cast<FLOAT>(kMiterLimit), nullptr);
    Painter painter(dc, devicePerUnit * logicalPerDevice);
    for (const Shape* shape : shapes) painter.Draw(*shape);
    const Metafile metafile(CloseEnhMetaFile(recording.Release()));
    if (!metafile) throw std::runtime_error("cannot write the metafile " + PathText(file));
  }
  const auto [bounds, frame] = HeaderBox(InkBox(shapes), page, devicePerUnit);
  SetHeaderBox(file, bounds, frame);
}

}  // namespace tavrel::hostmodel
