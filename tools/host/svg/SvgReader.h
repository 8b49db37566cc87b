// Reads an SVG file into a drawing: the basic shapes and paths anywhere
// below the root, through groups, nested svg elements, switch and use (of
// symbols too), with their transforms and styles; the root's size with its
// units and viewBox. What it cannot draw (text, images, filters, clipping,
// masks, markers, gradients and patterns) is drawn approximately or left
// out, and named in the drawing's `skipped` notes.
#pragma once

#include <filesystem>

#include "tools/host/svg/Drawing.h"

namespace tavrel::hostmodel {

// Throws std::runtime_error naming the file and the fault when the file is
// no drawing (unreadable, not well-formed XML, no svg root, no page size).
Drawing ReadSvg(const std::filesystem::path& file);

}  // namespace tavrel::hostmodel
