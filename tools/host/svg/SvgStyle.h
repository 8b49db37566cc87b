// Presentation of SVG shapes: paints, stroke width and transforms, from
// attributes and from the "style" attribute, inherited through groups.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/host/svg/Drawing.h"

namespace tavrel::hostmodel {

// An affine transform: x' = a x + c y + e, y' = b x + d y + f.
struct Matrix {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  Point Apply(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  // This transform applied after `inner`.
  Matrix Then(const Matrix& inner) const;
  bool KeepsAxes() const { return b == 0 && c == 0; }
};

// translate, scale, rotate (about the origin) and matrix, in a list.
// Throws std::runtime_error for anything else.
Matrix ParseTransform(std::string_view text);

struct Style {
  std::optional<Color> fill = Color{};  // black, as SVG's default
  std::optional<Color> stroke;          // none
  double strokeWidth = 1;
};

// The style of an element: the parent's, overridden by the element's
// presentation attributes, overridden by its "style" declarations.
Style ApplyStyle(Style inherited, const std::vector<std::pair<std::string, std::string>>& attributes);

}  // namespace tavrel::hostmodel
