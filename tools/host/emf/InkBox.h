// Where shapes put ink: the box of their outlines (curves by their extremes,
// not their control points), widened by half the stroke width and by the
// tips of mitred corners, as the metafile draws them.
#pragma once

#include <optional>
#include <vector>

#include "tools/host/svg/Drawing.h"

namespace tavrel::hostmodel {

struct Box {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

// Stroked corners are mitred up to this ratio of miter length to stroke
// width, as SVG's default; sharper corners are bevelled.
constexpr double kMiterLimit = 4;

// Whether a shape's outline is drawn: a stroke colour and a positive width.
bool Stroked(const Shape& shape);

// The ink of the shapes, nullopt when they draw nothing.
std::optional<Box> InkBox(const std::vector<const Shape*>& shapes);

}  // namespace tavrel::hostmodel
