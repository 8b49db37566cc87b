#include "tools/emf/EmfCheck.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "tools/emf/RecordLayout.h"

namespace tavrel::emf {
namespace {

constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kVersion = 0x10000;
constexpr std::size_t kMinHeaderSize = 88;
constexpr std::size_t kPointListOffset = 28;  // type, size, bounds, count

class Bytes {
 public:
  explicit Bytes(std::span<const std::uint8_t> data) : data_(data) {}
  std::uint32_t U32(std::size_t at) const {
    return static_cast<std::uint32_t>(data_[at]) | static_cast<std::uint32_t>(data_[at + 1]) << 8 |
           static_cast<std::uint32_t>(data_[at + 2]) << 16 | static_cast<std::uint32_t>(data_[at + 3]) << 24;
  }
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
  Rect RectAt(std::size_t at) const { return {I32(at), I32(at + 4), I32(at + 8), I32(at + 12)}; }
  std::size_t Size() const { return data_.size(); }

 private:
  std::span<const std::uint8_t> data_;
};

std::string At(std::size_t offset, const std::string& what) {
  std::ostringstream out;
  out << "record at offset " << offset << ": " << what;
  return out.str();
}

bool IsFigure(std::uint32_t type) {
  switch (type) {
    case kPolyBezier:
    case kPolygon:
    case kPolyline:
    case kPolyBezierTo:
    case kPolylineTo:
    case kPolyPolyline:
    case kPolyPolygon:
    case kAngleArc:
    case kEllipse:
    case kRectangle:
    case kRoundRect:
    case kArc:
    case kChord:
    case kPie:
    case kLineTo:
    case kArcTo:
    case kPolyDraw:
    case kPolyBezier16:
    case kPolygon16:
    case kPolyline16:
    case kPolyBezierTo16:
    case kPolylineTo16:
    case kPolyPolyline16:
    case kPolyPolygon16:
    case kPolyDraw16:
      return true;
    default:
      return false;
  }
}

bool PaintsPath(std::uint32_t type) {
  return type == kFillPath || type == kStrokeAndFillPath || type == kStrokePath;
}

std::size_t PointSize(std::uint32_t type) { return type >= kPolyBezier16 && type <= kPolyDraw16 ? 4 : 8; }

bool IsBezier(std::uint32_t type) {
  return type == kPolyBezier || type == kPolyBezierTo || type == kPolyBezier16 || type == kPolyBezierTo16;
}

// Checks the point list of a poly record against the record's size (and
// the polygon counts of a poly-poly record against its point count); empty
// when it is sound or the record has no point list.
std::string CheckPointList(const Bytes& bytes, std::size_t offset, std::uint32_t type, std::uint32_t size) {
  const bool single =
      (type >= kPolyBezier && type <= kPolylineTo) || (type >= kPolyBezier16 && type <= kPolylineTo16);
  const bool polyPoly =
      type == kPolyPolyline || type == kPolyPolygon || type == kPolyPolyline16 || type == kPolyPolygon16;
  const bool polyDraw = type == kPolyDraw || type == kPolyDraw16;
  if (!single && !polyPoly && !polyDraw) return {};
  const std::size_t fixed = polyPoly ? kPointListOffset + 4 : kPointListOffset;
  if (size < fixed) return "record too short for its point count";
  const std::uint32_t count = bytes.U32(offset + (polyPoly ? fixed - 4 : 24));
  std::uint64_t needed = fixed + static_cast<std::uint64_t>(count) * PointSize(type);
  if (polyDraw) needed += count;  // one type byte per point
  if (polyPoly) {
    const std::uint32_t polygons = bytes.U32(offset + 24);
    needed += static_cast<std::uint64_t>(polygons) * 4;
    if (needed > size) return "point count " + std::to_string(count) + " exceeds the record";
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < polygons; ++i) sum += bytes.U32(offset + fixed + 4 * i);
    if (sum != count) {
      return "polygon point counts add up to " + std::to_string(sum) + ", not " + std::to_string(count);
    }
  }
  if (needed > size) return "point count " + std::to_string(count) + " exceeds the record";
  if (IsBezier(type)) {
    const bool continues = type == kPolyBezierTo || type == kPolyBezierTo16;
    if (continues ? (count == 0 || count % 3 != 0) : count % 3 != 1) {
      return "Bezier point count " + std::to_string(count) + (continues ? " is not 3k" : " is not 3k+1");
    }
  }
  return {};
}

// Checks the header record's fields; empty when it is sound.
std::string ReadHeader(const Bytes& bytes, std::uint32_t size, EmfReport& report) {
  if (size < kMinHeaderSize) return "header record shorter than " + std::to_string(kMinHeaderSize) + " bytes";
  report.bounds = bytes.RectAt(8);
  report.frame = bytes.RectAt(24);
  report.headerBytes = bytes.U32(48);
  report.headerRecords = bytes.U32(52);
  report.devicePixelsX = bytes.I32(72);
  report.devicePixelsY = bytes.I32(76);
  report.deviceMillimetresX = bytes.I32(80);
  report.deviceMillimetresY = bytes.I32(84);
  if (bytes.U32(40) != kSignature) return "header signature is not \" EMF\"";
  if (bytes.U32(44) != kVersion) return "header version is not 0x10000";
  if (report.headerBytes != bytes.Size()) {
    return "header claims " + std::to_string(report.headerBytes) + " bytes, the file has " +
           std::to_string(bytes.Size());
  }
  return {};
}

}  // namespace

std::uint32_t EmfReport::Count(std::uint32_t type) const {
  const auto found = recordsByType.find(type);
  return found == recordsByType.end() ? 0 : found->second;
}

EmfReport CheckEmf(std::span<const std::uint8_t> data) {
  EmfReport report;
  report.fileSize = data.size();
  const Bytes bytes(data);
  auto fail = [&report](std::string why) {
    report.error = std::move(why);
    return report;
  };

  bool seenEof = false;
  bool inPath = false;
  std::size_t offset = 0;
  while (offset < data.size()) {
    if (seenEof) return fail(At(offset, "record after the end record"));
    if (data.size() - offset < 8) return fail(At(offset, "truncated record header"));
    const std::uint32_t type = bytes.U32(offset);
    const std::uint32_t size = bytes.U32(offset + 4);
    if (size == 0) return fail(At(offset, "record size 0"));
    if (size % 4 != 0)
      return fail(At(offset, "record size " + std::to_string(size) + " not a multiple of 4"));
    if (size > data.size() - offset) return fail(At(offset, "record runs past the end of the file"));
    if ((offset == 0) != (type == kHeader)) {
      return fail(At(offset, offset == 0 ? "first record is not the header" : "a second header record"));
    }
    if (type == kHeader) {
      if (std::string why = ReadHeader(bytes, size, report); !why.empty()) return fail(At(offset, why));
    }
    if (std::string why = CheckPointList(bytes, offset, type, size); !why.empty())
      return fail(At(offset, why));
    if (std::string why = CheckRecordLayout(data.subspan(offset, size)); !why.empty())
      return fail(At(offset, why));
    if (type == kBeginPath) inPath = true;
    if (type == kEndPath) inPath = false;
    if ((IsFigure(type) && !inPath) || PaintsPath(type)) ++report.drawingRecords;
    if (type == kEof) seenEof = true;
    ++report.recordsByType[type];
    ++report.recordCount;
    offset += size;
  }
  if (data.empty()) return fail("empty file");
  if (!seenEof) return fail("no end record");
  if (report.headerRecords != report.recordCount) {
    return fail("header claims " + std::to_string(report.headerRecords) + " records, the file has " +
                std::to_string(report.recordCount));
  }
  report.wellFormed = true;
  return report;
}

EmfReport CheckEmf(std::string_view bytes) {
  return CheckEmf(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

EmfReport CheckEmfFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    EmfReport report;
    report.error = "cannot open " + path.string();
    return report;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return CheckEmf(std::string_view(bytes));
}

}  // namespace tavrel::emf
