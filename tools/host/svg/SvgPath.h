// Path data of SVG ("d"): every command (M L H V C S Q T A Z, absolute and
// relative, with implicit repetition). Quadratic segments become the
// equivalent cubics, elliptical arcs cubics of at most a quarter turn each.
#pragma once

#include <string_view>
#include <vector>

#include "tools/host/svg/Drawing.h"

namespace tavrel::hostmodel {

struct PathData {
  std::vector<Figure> figures;
  // False when the data has an error: the figures run up to it, as SVG
  // draws a path up to its first error.
  bool complete = true;
};

PathData ParsePathData(std::string_view data);

}  // namespace tavrel::hostmodel
