// Numbers of SVG attribute values: number lists, point lists and lengths
// with units. A number is SVG's: an optional sign, digits with an optional
// fraction, an optional exponent ("1e-3", ".5.5" is two numbers).
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "tools/host/svg/Drawing.h"

namespace tavrel::hostmodel {

// Numbers separated by white space and/or one comma. Throws
// std::runtime_error naming the text when something else is in it.
std::vector<double> ParseNumbers(std::string_view data);

// The pairs of a point list ("points" of polyline and polygon). An odd
// count drops the last number, as SVG draws up to the error.
std::vector<Point> ParsePoints(std::string_view data);

// A length in user units (px): px pt pc mm cm in, em and ex at the usual
// 16 px font, % of `percentOf`. Nullopt when malformed.
std::optional<double> ParseLength(std::string_view text, double percentOf);

}  // namespace tavrel::hostmodel
