#include "tools/host/emf/EmfExport.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "tools/host/emf/Gdi.h"

namespace tavrel::hostmodel {
namespace {

constexpr double kHundredthsMmPerUnit = 2540.0 / 96;

class GdiObject {
 public:
  explicit GdiObject(HGDIOBJ object) : object_(object) {}
  ~GdiObject() {
    if (object_ != HGDIOBJ{}) DeleteObject(object_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  HGDIOBJ Get() const { return object_; }

 private:
  HGDIOBJ object_;
};

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
    const int width = (std::max)(1, static_cast<int>(std::lround(shape.strokeWidth * scale_)));
    GdiObject pen(shape.stroke ? CreatePen(PS_SOLID, width, stroke) : HPEN{});
    GdiObject brush(shape.fill ? CreateSolidBrush(fill) : HBRUSH{});
    Selected usePen(dc_, pen.Get() != HGDIOBJ{} ? pen.Get() : GetStockObject(NULL_PEN));
    Selected useBrush(dc_, brush.Get() != HGDIOBJ{} ? brush.Get() : GetStockObject(NULL_BRUSH));

    if (shape.ellipse) {
      const Ellipse& e = *shape.ellipse;
      const POINT topLeft = At({e.centre.x - e.radiusX, e.centre.y - e.radiusY});
      const POINT bottomRight = At({e.centre.x + e.radiusX, e.centre.y + e.radiusY});
      ::Ellipse(dc_, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    } else if (shape.figures.size() == 1 && Straight(shape.figures.front())) {
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

  void DrawPath(const Shape& shape) {
    BeginPath(dc_);
    for (const Figure& figure : shape.figures) {
      const POINT start = At(figure.start);
      MoveToEx(dc_, start.x, start.y, nullptr);
      for (const Segment& s : figure.segments) {
        if (s.cubic) {
          const POINT curve[3] = {At(s.control1), At(s.control2), At(s.end)};
          PolyBezierTo(dc_, curve, 3);
        } else {
          const POINT end = At(s.end);
          LineTo(dc_, end.x, end.y);
        }
      }
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
  const RECT frame = {0, 0, static_cast<LONG>(std::lround(page.width * kHundredthsMmPerUnit)),
                      static_cast<LONG>(std::lround(page.height * kHundredthsMmPerUnit))};
  HDC dc = CreateMetafileDc(file, frame);
  if (dc == HDC{}) throw std::runtime_error("cannot create the metafile " + file.string());
  // Device units per SVG unit, from the reference device's resolution.
  const double pixelsPerMm = static_cast<double>(GetDeviceCaps(dc, HORZRES)) / GetDeviceCaps(dc, HORZSIZE);
  Painter painter(dc, pixelsPerMm * 25.4 / 96);
  SetPolyFillMode(dc, WINDING);
  for (const Shape* shape : shapes) painter.Draw(*shape);
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  if (metafile == HENHMETAFILE{}) throw std::runtime_error("cannot write the metafile " + file.string());
  DeleteEnhMetaFile(metafile);
}

}  // namespace tavrel::hostmodel
