// The header of a written enhanced metafile: its bounds (device units) and
// picture frame (0.01 mm), set after the records are written, since writers
// compute them differently (the whole page, or the figures without the
// width of their outlines).
#pragma once

#include <filesystem>

#include "tools/emf/EmfCheck.h"

namespace tavrel::hostmodel {

// The rectangles are inclusive on every side, as the header holds them.
using HeaderRect = emf::Rect;

// Throws std::runtime_error when the file cannot be rewritten.
void SetHeaderBox(const std::filesystem::path& file, const HeaderRect& bounds, const HeaderRect& frame);

}  // namespace tavrel::hostmodel
