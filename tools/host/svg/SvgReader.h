// Reads an SVG file into a drawing: rect, circle, ellipse, line, polyline,
// polygon and path elements anywhere below the root (groups flattened, their
// transforms and styles applied); definitions are skipped.
#pragma once

#include <filesystem>

#include "tools/host/svg/Drawing.h"

namespace tavrel::hostmodel {

// Throws std::runtime_error naming the file and the fault.
Drawing ReadSvg(const std::filesystem::path& file);

}  // namespace tavrel::hostmodel
