// The geometry of SVG's basic shapes and paths in the element's own
// coordinates: rect (with rounded corners), circle, ellipse, line,
// polyline, polygon and path.
#pragma once

#include <string>

#include "tools/host/svg/Drawing.h"
#include "tools/host/svg/ElementTree.h"

namespace tavrel::hostmodel {

// What "%" refers to in the coordinates: the viewport's size.
struct Viewport {
  double width = 0;
  double height = 0;
};

// True for the elements ShapeGeometry reads.
bool IsShapeElement(const std::string& name);

// Fills `shape.figures` (and `shape.ellipse` for circles and ellipses).
// Nothing is drawn for a shape SVG does not render (zero size, no points).
// Returns false when the data had an error and only its part before the
// error was read.
bool ShapeGeometry(const Element& element, const Viewport& viewport, Shape& shape);

}  // namespace tavrel::hostmodel
