// The grammars of SVG attribute values that svgpp parses for the reader:
// path data, transform lists and colours. Kept in one translation unit, as
// the parsers are costly to compile.
#pragma once

#include <optional>
#include <string_view>

#include "tools/host/svg/Drawing.h"
#include "tools/host/svg/Matrix.h"

namespace tavrel::hostmodel {

// Receives path commands in absolute coordinates, the shorthands (H, V, S,
// T) already spelled out in full.
class PathSink {
 public:
  virtual ~PathSink() = default;
  virtual void MoveTo(Point p) = 0;
  virtual void LineTo(Point p) = 0;
  virtual void CubicTo(Point c1, Point c2, Point p) = 0;
  virtual void QuadTo(Point c, Point p) = 0;
  virtual void ArcTo(double rx, double ry, double rotationDegrees, bool largeArc, bool sweep, Point p) = 0;
  virtual void Close() = 0;
};

// False when the data has an error; the commands before it have been
// delivered (a path is drawn up to its first error).
bool ParsePathGrammar(std::string_view data, PathSink& sink);

// A transform list as one matrix; nullopt when malformed.
std::optional<Matrix> ParseTransformGrammar(std::string_view text);

// #rgb, #rrggbb, rgb(...) with numbers or percentages, or one of the 147
// colour keywords (in any case); nullopt for anything else.
std::optional<Color> ParseColorGrammar(std::string_view text);

}  // namespace tavrel::hostmodel
