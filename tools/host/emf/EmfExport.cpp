#include "tools/host/emf/EmfExport.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>

#include "platform/UniqueHandle.h"
#include "tools/host/emf/Gdi.h"
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

class Painter {
 public:
  Painter(HDC dc, double scale) : dc_(dc), scale_(scale) {}

  void Draw(const Shape& shape) {
    const COLORREF fill = shape.fill ? RGB(shape.fill->red, shape.fill->green, shape.fill->blue) : 0;
    const COLORREF stroke =
        shape.stroke ? RGB(shape.stroke->red, shape.stroke->green, shape.stroke->blue) : 0;
    const int width =
        (std::max)(1, static_cast<int>(std::lround((std::max)(0.0, shape.strokeWidth) * scale_)));
    GdiObject pen(shape.stroke ? CreatePen(PS_SOLID, width, stroke) : HPEN{});
    GdiObject brush(shape.fill ? CreateSolidBrush(fill) : HBRUSH{});
    Selected usePen(dc_, pen.Get() != HGDIOBJ{} ? pen.Get() : GetStockObject(NULL_PEN));
    Selected useBrush(dc_, brush.Get() != HGDIOBJ{} ? brush.Get() : GetStockObject(NULL_BRUSH));

    if (shape.ellipse) {
      const Ellipse& e = *shape.ellipse;
      const POINT topLeft = At({e.centre.x - e.radiusX, e.centre.y - e.radiusY});
      const POINT bottomRight = At({e.centre.x + e.radiusX, e.centre.y + e.radiusY});
      ::Ellipse(dc_, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    } else if (shape.figures.size() == 1 && Straight(shape.figures.front()) &&
               shape.figures.front().segments.size() < kMaxRecordPoints) {
      const std::vector<POINT> points = Corners(shape.figures.front());
      if (shape.figures.front().closed) {
        Polygon(dc_, points.data(), static_cast<int>(points.size()));
      } else {
        Polyline(dc_, points.data(), static_cast<int>(points.size()));
      }
    } else {
      DrawPath(shape);
    }
  }

 private:
  POINT At(Point p) const {
    return {static_cast<LONG>(std::lround(p.x * scale_)), static_cast<LONG>(std::lround(p.y * scale_))};
  }
  static bool Straight(const Figure& figure) {
    for (const Segment& s : figure.segments) {
      if (s.cubic) return false;
    }
    return true;
  }
  std::vector<POINT> Corners(const Figure& figure) const {
    std::vector<POINT> points = {At(figure.start)};
    for (const Segment& s : figure.segments) points.push_back(At(s.end));
    return points;
  }

  // Runs of straight segments become PolylineTo records, runs of cubics
  // PolyBezierTo records, each of at most kMaxRecordPoints points.
  void DrawPath(const Shape& shape) {
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
    if (shape.fill && shape.stroke) {
      StrokeAndFillPath(dc_);
    } else if (shape.fill) {
      FillPath(dc_);
    } else {
      StrokePath(dc_);
    }
  }

  HDC dc_;
  double scale_;
};

}  // namespace

void WriteEmf(const std::filesystem::path& file, const Page& page, const std::vector<const Shape*>& shapes) {
  LimitCheck check;
  check.Size("width", page.width);
  check.Size("height", page.height);
  for (const Shape* shape : shapes) check.Shape(*shape);
  const RECT frame = {0, 0, static_cast<LONG>(std::lround(page.width * kHundredthsMmPerUnit)),
                      static_cast<LONG>(std::lround(page.height * kHundredthsMmPerUnit))};
  HDC dc = CreateMetafileDc(file, frame);
  if (dc == HDC{}) throw std::runtime_error("cannot create the metafile " + PathText(file));
  // Device units per SVG unit, from the reference device's resolution.
  const double pixelsPerMm = static_cast<double>(GetDeviceCaps(dc, HORZRES)) / GetDeviceCaps(dc, HORZSIZE);
  Painter painter(dc, pixelsPerMm * 25.4 / 96);
  SetPolyFillMode(dc, WINDING);
  for (const Shape* shape : shapes) painter.Draw(*shape);
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  if (metafile == HENHMETAFILE{}) throw std::runtime_error("cannot write the metafile " + PathText(file));
  DeleteEnhMetaFile(metafile);
}

}  // namespace tavrel::hostmodel
