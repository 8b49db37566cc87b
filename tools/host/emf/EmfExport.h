// Writes shapes of a page as an enhanced metafile: ellipses as ellipses,
// straight closed outlines as polygons, open ones as polylines, everything
// else as paths of lines and Bezier curves, each with its fill and outline.
#pragma once

#include <filesystem>
#include <vector>

#include "tools/host/svg/Drawing.h"

namespace tavrel::hostmodel {

// The picture frame is the page (SVG user units at 96 per inch). Throws
// std::runtime_error when the file cannot be written.
void WriteEmf(const std::filesystem::path& file, const Page& page, const std::vector<const Shape*>& shapes);

}  // namespace tavrel::hostmodel
