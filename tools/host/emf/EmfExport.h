// Writes shapes of a page as an enhanced metafile: ellipses as ellipses,
// straight closed outlines as polygons, open ones as polylines, everything
// else as paths of lines and Bezier curves, each with its fill and outline.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "tools/host/svg/Drawing.h"

namespace tavrel::hostmodel {

// The largest page size and coordinate (in either direction) a metafile
// holds, in SVG user units: at any reference device's resolution up to 300
// pixels per inch this stays inside the 2^27 device units GDI computes
// with, and the frame (0.01 mm) inside its 32 bits.
constexpr double kMaxDrawingUnits = 1e7;

// A drawing the metafile cannot hold: a coordinate or size that is not
// finite or lies beyond kMaxDrawingUnits. Nothing has been written.
class DrawingLimitError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The records hold page coordinates (SVG user units at 96 per inch, in
// fractions through a world transform); the header's bounds and frame are
// the ink of the shapes (outlines at their width) within the page. Throws
// DrawingLimitError for a drawing out of range, std::runtime_error when the
// file cannot be written.
void WriteEmf(const std::filesystem::path& file, const Page& page, const std::vector<const Shape*>& shapes);

}  // namespace tavrel::hostmodel
