// A strict reader of enhanced metafiles: walks every record of a file and
// says whether the file is well formed, and what it holds.
//
// It checks what lenient consumers let pass: the header signature and
// version, the header's byte and record counts against the file, every
// record's size (above 0, a multiple of 4, inside the file), the point counts
// of Bezier records, and that the end record comes last and only once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <string_view>

namespace tavrel::emf {

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// Record types the reader looks at.
enum RecordType : std::uint32_t {
  kHeader = 1,
  kPolyBezier = 2,
  kPolygon = 3,
  kPolyline = 4,
  kPolyBezierTo = 5,
  kPolylineTo = 6,
  kPolyPolyline = 7,
  kPolyPolygon = 8,
  kEof = 14,
  kAngleArc = 41,
  kEllipse = 42,
  kRectangle = 43,
  kRoundRect = 44,
  kArc = 45,
  kChord = 46,
  kPie = 47,
  kLineTo = 54,
  kArcTo = 55,
  kPolyDraw = 56,
  kBeginPath = 59,
  kEndPath = 60,
  kFillPath = 62,
  kStrokeAndFillPath = 63,
  kStrokePath = 64,
  kPolyBezier16 = 85,
  kPolygon16 = 86,
  kPolyline16 = 87,
  kPolyBezierTo16 = 88,
  kPolylineTo16 = 89,
  kPolyPolyline16 = 90,
  kPolyPolygon16 = 91,
  kPolyDraw16 = 92,
};

struct EmfReport {
  bool wellFormed = false;
  // Why the file is not well formed, with the offset of the faulty record.
  std::string error;
  std::uint64_t fileSize = 0;
  // Records read up to the end record or the first fault.
  std::uint32_t recordCount = 0;
  // The header's own claims.
  std::uint32_t headerBytes = 0;
  std::uint32_t headerRecords = 0;
  // Bounds in device units, frame in 0.01 mm, both inclusive.
  Rect bounds;
  Rect frame;
  // The reference device's size in pixels and in millimetres.
  std::int32_t devicePixelsX = 0;
  std::int32_t devicePixelsY = 0;
  std::int32_t deviceMillimetresX = 0;
  std::int32_t deviceMillimetresY = 0;
  std::map<std::uint32_t, std::uint32_t> recordsByType;
  // Records that put ink on the page: a figure drawn outside a path
  // bracket, or a path filled or stroked.
  std::uint32_t drawingRecords = 0;

  std::uint32_t Count(std::uint32_t type) const;
};

EmfReport CheckEmf(std::span<const std::uint8_t> bytes);
EmfReport CheckEmf(std::string_view bytes);
// A file that cannot be read gives a report that is not well formed.
EmfReport CheckEmfFile(const std::filesystem::path& path);

}  // namespace tavrel::emf
