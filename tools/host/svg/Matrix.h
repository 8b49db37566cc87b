// An affine transform of the drawing: x' = a x + c y + e, y' = b x + d y + f.
#pragma once

#include "tools/host/svg/Drawing.h"

namespace tavrel::hostmodel {

struct Matrix {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  Point Apply(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  // This transform applied after `inner`.
  Matrix Then(const Matrix& inner) const {
    return {a * inner.a + c * inner.b, b * inner.a + d * inner.b,     a * inner.c + c * inner.d,
            b * inner.c + d * inner.d, a * inner.e + c * inner.f + e, b * inner.e + d * inner.f + f};
  }
  bool KeepsAxes() const { return b == 0 && c == 0; }
  static Matrix Translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
  static Matrix Scaling(double x, double y) { return {x, 0, 0, y, 0, 0}; }
};

}  // namespace tavrel::hostmodel
