// Path data of SVG ("d"): M, L, H, V, C, Q, Z, absolute and relative, with
// implicit repetition. Quadratic segments become the equivalent cubics.
#pragma once

#include <string_view>
#include <vector>

#include "tools/host/svg/Drawing.h"

namespace tavrel::hostmodel {

// Throws std::runtime_error naming the fault for an unknown command or a
// missing number.
std::vector<Figure> ParsePathData(std::string_view data);

// A list of numbers separated by white space or commas.
std::vector<double> ParseNumbers(std::string_view data);

// The pairs of a point list ("points" of polyline and polygon); an odd count
// throws std::runtime_error.
std::vector<Point> ParsePoints(std::string_view data);

}  // namespace tavrel::hostmodel
