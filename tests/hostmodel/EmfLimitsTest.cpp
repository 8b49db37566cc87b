// What a metafile can hold: long outlines in records of bounded size, and
// drawings beyond its coordinate space refused before anything is written.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <numbers>
#include <string>

#include "tests/support/TempDir.h"
#include "tools/emf/EmfCheck.h"
#include "tools/host/emf/EmfExport.h"

namespace tavrel::hostmodel {
namespace {

Shape Outline(std::size_t points, bool closed) {
  Shape shape;
  shape.element = closed ? "polygon" : "polyline";
  Figure figure{{50, 0}, {}, closed};
  for (std::size_t i = 1; i < points; ++i) {
    const double angle = 2 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(points);
    const double radius = i % 2 == 0 ? 50 : 40;
    figure.segments.push_back(
        {false, {}, {}, {50 + radius * std::cos(angle), 50 + radius * std::sin(angle)}});
  }
  shape.figures.push_back(figure);
  shape.fill = closed ? std::optional<Color>(Color{200, 0, 0}) : std::nullopt;
  shape.stroke = Color{0, 0, 0};
  return shape;
}

struct PointCounts {
  std::uint64_t points = 0;   // in polygon, polyline and polyline-to records
  std::uint32_t largest = 0;  // the largest count in one record
};

// Sums the point counts of the straight-line records (count at offset 24).
PointCounts StraightPoints(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  PointCounts counts;
  for (std::size_t offset = 0; offset + 28 <= bytes.size();) {
    std::uint32_t type = 0, size = 0, count = 0;
    std::memcpy(&type, bytes.data() + offset, 4);
    std::memcpy(&size, bytes.data() + offset + 4, 4);
    std::memcpy(&count, bytes.data() + offset + 24, 4);
    if (size == 0) break;
    for (std::uint32_t straight : {emf::kPolygon, emf::kPolyline, emf::kPolylineTo, emf::kPolygon16,
                                   emf::kPolyline16, emf::kPolylineTo16}) {
      if (type == straight) {
        counts.points += count;
        counts.largest = std::max(counts.largest, count);
      }
    }
    offset += size;
  }
  return counts;
}

TEST(EmfLimits, OutlinesBeyondSixteenBitCountsAreWrittenWhole) {
  testing_support::TempDir dir;
  Page page{100, 100, {}};
  for (const std::size_t points : {std::size_t{100}, std::size_t{40000}, std::size_t{70000}}) {
    for (const bool closed : {true, false}) {
      const Shape shape = Outline(points, closed);
      const std::filesystem::path file = dir.Root() / ("outline-" + std::to_string(points) + ".emf");
      WriteEmf(file, page, {&shape});
      const emf::EmfReport report = emf::CheckEmfFile(file);
      ASSERT_TRUE(report.wellFormed) << points << ": " << report.error;
      const PointCounts counts = StraightPoints(file);
      // Every point is written once (a path's first point is its move); an
      // open outline's records after the first repeat the point they start
      // from.
      EXPECT_GE(counts.points, points - 1) << points;
      EXPECT_LE(counts.points, points + (closed ? 0 : points / 8000)) << points;
      EXPECT_LT(counts.largest, 32768u) << points;
      EXPECT_LT(report.fileSize, 64 * points + 4096) << points;
    }
  }
}

TEST(EmfLimits, DrawingsBeyondTheCoordinateSpaceAreRefusedUnwritten) {
  testing_support::TempDir dir;
  const Shape square = Outline(4, true);
  Shape far = square;
  far.figures[0].segments[1].end.x = 2e7;
  Shape infinite = square;
  infinite.figures[0].start.y = std::numeric_limits<double>::infinity();
  Shape wide = square;
  wide.strokeWidth = std::nan("");
  Shape farCurve = square;
  farCurve.figures[0].segments[0] = {true, {-1e300, 0}, {0, 0}, {1, 1}};
  struct Case {
    const char* name;
    Page page;
    const Shape* shape;
    const char* message;
  };
  const double inf = std::numeric_limits<double>::infinity();
  for (const Case& c : {Case{"huge-page", {1e308, 100, {}}, &square, "the page width of 1e+308"},
                        Case{"infinite-page", {100, inf, {}}, &square, "the page height of inf"},
                        Case{"nan-page", {std::nan(""), 100, {}}, &square, "the page width of nan"},
                        Case{"far", {100, 100, {}}, &far, "the polygon has a coordinate of 2e+07"},
                        Case{"infinite", {100, 100, {}}, &infinite, "has a coordinate of inf"},
                        Case{"curve", {100, 100, {}}, &farCurve, "coordinate of -1e+300"},
                        Case{"stroke", {100, 100, {}}, &wide, "stroke width of nan"}}) {
    const std::filesystem::path file = dir.Root() / (std::string(c.name) + ".emf");
    try {
      WriteEmf(file, c.page, {c.shape});
      ADD_FAILURE() << c.name << " was written";
    } catch (const DrawingLimitError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(file)) << c.name;
  }
  // The largest page still fits the frame's 32 bits.
  const std::filesystem::path largest = dir.Root() / "largest.emf";
  Shape page = square;
  page.figures[0] = {
      {0, 0},
      {{false, {}, {}, {kMaxDrawingUnits, 0}}, {false, {}, {}, {kMaxDrawingUnits, kMaxDrawingUnits}}},
      true};
  page.stroke.reset();
  WriteEmf(largest, {kMaxDrawingUnits, kMaxDrawingUnits, {}}, {&page});
  const emf::EmfReport report = emf::CheckEmfFile(largest);
  ASSERT_TRUE(report.wellFormed) << report.error;
  EXPECT_NEAR(report.frame.right, kMaxDrawingUnits * 2540 / 96, 1);
}

}  // namespace
}  // namespace tavrel::hostmodel
