// The metafile header's bounds and frame: the ink of the exported shapes
// (outlines at their width, mitred corners, curves by their extremes),
// within the page, in every build; the records keep page coordinates.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"
#include "tools/emf/EmfCheck.h"
#include "tools/host/emf/EmfExport.h"

namespace tavrel::hostmodel {
namespace {

constexpr double kFramePerUnit = 2540.0 / 96;

Shape Outline(std::vector<Point> points, bool closed, std::optional<Color> fill, std::optional<Color> stroke,
              double width = 1) {
  Shape shape;
  shape.element = closed ? "polygon" : "polyline";
  Figure figure{points.front(), {}, closed};
  for (std::size_t i = 1; i < points.size(); ++i) figure.segments.push_back({false, {}, {}, points[i]});
  shape.figures.push_back(figure);
  shape.fill = fill;
  shape.stroke = stroke;
  shape.strokeWidth = width;
  return shape;
}

Shape Curve(Point from, Point c1, Point c2, Point to, double width) {
  Shape shape;
  shape.element = "path";
  shape.figures.push_back({from, {{true, c1, c2, to}}, false});
  shape.stroke = Color{0, 0, 0};
  shape.strokeWidth = width;
  return shape;
}

Shape Circle(Point centre, double radius, std::optional<Color> fill, std::optional<Color> stroke,
             double width) {
  Shape shape;
  shape.element = "circle";
  shape.ellipse = Ellipse{centre, radius, radius};
  // The figure only matters to players that need it; the box comes from the
  // ellipse.
  shape.figures.push_back(
      {{centre.x + radius, centre.y}, {{false, {}, {}, {centre.x - radius, centre.y}}}, true});
  shape.fill = fill;
  shape.stroke = stroke;
  shape.strokeWidth = width;
  return shape;
}

const Color kRed{200, 0, 0};
const Color kBlack{0, 0, 0};

struct Case {
  const char* name;
  std::vector<Shape> shapes;
  // The expected ink box in page units: left, top, right, bottom.
  double left, top, right, bottom;
};

std::vector<Case> Cases() {
  const double miter = 2 / std::sin(std::atan(0.5));  // half width 2 over sin of half the tip angle
  return {
      {"filled square, no outline",
       {Outline({{10, 20}, {30, 20}, {30, 50}, {10, 50}}, true, kRed, {})},
       10,
       20,
       30,
       50},
      {"outline widens by half its width",
       {Outline({{10, 20}, {30, 20}, {30, 50}, {10, 50}}, true, kRed, kBlack, 4)},
       8,
       18,
       32,
       52},
      {"zero width draws no outline",
       {Outline({{10, 20}, {30, 20}, {30, 50}, {10, 50}}, true, kRed, kBlack, 0)},
       10,
       20,
       30,
       50},
      // Half the width on every side, ends included.
      {"open line", {Outline({{10, 50}, {90, 50}}, false, {}, kBlack, 6)}, 7, 47, 93, 53},
      // A tip of 2 * atan(1/2) (about 53 degrees) is mitred: the tip lies
      // 2 / sin(26.6 degrees) beyond the corner at (50, 10).
      {"sharp corner is mitred",
       {Outline({{30, 50}, {50, 10}, {70, 50}}, false, {}, kBlack, 4)},
       28,
       10 - miter,
       72,
       52},
      // Far sharper than the miter limit allows: bevelled, no tip.
      {"sharper corner is bevelled",
       {Outline({{49, 90}, {50, 10}, {51, 90}}, false, {}, kBlack, 4)},
       47,
       8,
       53,
       92},
      // The control points reach y = 20; the curve itself only y = 27.5.
      {"curve by its extremes", {Curve({20, 50}, {20, 20}, {80, 20}, {80, 50}, 2)}, 19, 26.5, 81, 51},
      {"circle with outline", {Circle({50, 50}, 20, kRed, kBlack, 10)}, 25, 25, 75, 75},
      {"clipped to the page",
       {Outline({{-10, 60}, {120, 60}, {120, 130}, {-10, 130}}, true, kRed, {})},
       0,
       60,
       100,
       100},
      {"several shapes",
       {Circle({20, 20}, 5, kRed, {}, 1), Outline({{60, 70}, {90, 90}}, false, {}, kBlack, 2)},
       15,
       15,
       91,
       91},
  };
}

// Reads the world transform's scale and the first polygon or polyline
// record's first point (of 32 or 16 bits, as the writer chose).
struct FirstFigure {
  double scale = 0;
  double x = 0, y = 0;
  bool found = false;
};

FirstFigure ReadFirstFigure(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  FirstFigure first;
  for (std::size_t offset = 0; offset + 8 <= bytes.size();) {
    std::uint32_t type = 0, size = 0;
    std::memcpy(&type, bytes.data() + offset, 4);
    std::memcpy(&size, bytes.data() + offset + 4, 4);
    if (size == 0) break;
    if (type == 35 && first.scale == 0) {  // set world transform: eM11 first
      float m11 = 0;
      std::memcpy(&m11, bytes.data() + offset + 8, 4);
      first.scale = m11;
    }
    if ((type == emf::kPolygon || type == emf::kPolyline) && !first.found) {
      std::int32_t x = 0, y = 0;
      std::memcpy(&x, bytes.data() + offset + 28, 4);
      std::memcpy(&y, bytes.data() + offset + 32, 4);
      first = {first.scale, static_cast<double>(x), static_cast<double>(y), true};
    }
    if ((type == emf::kPolygon16 || type == emf::kPolyline16) && !first.found) {
      std::int16_t x = 0, y = 0;
      std::memcpy(&x, bytes.data() + offset + 28, 2);
      std::memcpy(&y, bytes.data() + offset + 30, 2);
      first = {first.scale, static_cast<double>(x), static_cast<double>(y), true};
    }
    offset += size;
  }
  return first;
}

double DevicePerUnit(const emf::EmfReport& report) {
  return static_cast<double>(report.devicePixelsX) / report.deviceMillimetresX * 25.4 / 96;
}

TEST(EmfBounds, HeaderHoldsTheInkOfTheShapesWithinThePage) {
  testing_support::TempDir dir;
  const Page page{100, 100, {}};
  int index = 0;
  for (const Case& c : Cases()) {
    std::vector<const Shape*> shapes;
    shapes.reserve(c.shapes.size());
    for (const Shape& shape : c.shapes) shapes.push_back(&shape);
    const std::filesystem::path file = dir.Root() / ("case-" + std::to_string(index++) + ".emf");
    WriteEmf(file, page, shapes);
    const emf::EmfReport report = emf::CheckEmfFile(file);
    ASSERT_TRUE(report.wellFormed) << c.name << ": " << report.error;
    // The frame to the 0.01 mm, outward.
    EXPECT_NEAR(report.frame.left, c.left * kFramePerUnit, 1) << c.name;
    EXPECT_NEAR(report.frame.top, c.top * kFramePerUnit, 1) << c.name;
    EXPECT_NEAR(report.frame.right, c.right * kFramePerUnit, 1) << c.name;
    EXPECT_NEAR(report.frame.bottom, c.bottom * kFramePerUnit, 1) << c.name;
    // The bounds to the device pixel (inclusive, one more on the right and
    // at the bottom).
    const double device = DevicePerUnit(report);
    ASSERT_GT(device, 0) << c.name;
    EXPECT_NEAR(report.bounds.left, c.left * device, 1) << c.name;
    EXPECT_NEAR(report.bounds.top, c.top * device, 1) << c.name;
    EXPECT_NEAR(report.bounds.right, c.right * device, 1) << c.name;
    EXPECT_NEAR(report.bounds.bottom, c.bottom * device, 1) << c.name;
  }
}

TEST(EmfBounds, NothingInkedGivesEmptyBoundsAndThePageAsFrame) {
  testing_support::TempDir dir;
  const Shape unpainted = Outline({{10, 20}, {30, 20}, {30, 50}}, true, {}, {});
  const Shape offPage = Outline({{110, 120}, {130, 120}, {130, 150}}, true, kRed, {});
  for (const std::vector<const Shape*>& shapes :
       {std::vector<const Shape*>{}, std::vector<const Shape*>{&unpainted},
        std::vector<const Shape*>{&offPage}}) {
    const std::filesystem::path file = dir.Root() / ("empty-" + std::to_string(shapes.size()) + ".emf");
    WriteEmf(file, {200, 100, {}}, shapes);
    const emf::EmfReport report = emf::CheckEmfFile(file);
    ASSERT_TRUE(report.wellFormed) << report.error;
    EXPECT_EQ(report.bounds.right, -1);
    EXPECT_EQ(report.bounds.bottom, -1);
    EXPECT_EQ(report.frame.left, 0);
    EXPECT_EQ(report.frame.right, std::lround(200 * kFramePerUnit));
    EXPECT_EQ(report.frame.bottom, std::lround(100 * kFramePerUnit));
  }
}

// Only the header shrinks: a figure is drawn where it is on the page, in
// fractions of a unit through the world transform. On ordinary pages a
// coordinate keeps a hundredth of a device unit: at a sixteenth, the two
// builds' metafiles of thin curves (whose reference devices differ) agreed
// only 0.974 once rendered. Larger pages take coarser steps, so that no
// logical coordinate passes 2^26; every step's transform is exact in four
// decimals, as some players print it.
TEST(EmfBounds, RecordsKeepPageCoordinatesInFractionsOfAUnit) {
  struct Size {
    double units;
    double minLogicalPerDevice;
  };
  testing_support::TempDir dir;
  for (const Size size : {Size{100, 100}, Size{2000, 100}, Size{100000, 100}, Size{1e7, 5}}) {
    const double u = size.units / 100;
    const Shape square =
        Outline({{40.25 * u, 30.75 * u}, {60 * u, 30.75 * u}, {99 * u, 99 * u}}, true, kRed, {});
    const std::filesystem::path file = dir.Root() / ("square-" + std::to_string(std::lround(u)) + ".emf");
    WriteEmf(file, {size.units, size.units, {}}, {&square});
    const emf::EmfReport report = emf::CheckEmfFile(file);
    ASSERT_TRUE(report.wellFormed) << size.units << ": " << report.error;
    const FirstFigure first = ReadFirstFigure(file);
    ASSERT_TRUE(first.found) << size.units;
    ASSERT_GT(first.scale, 0) << size.units;
    EXPECT_NEAR(first.scale * 1e4, std::round(first.scale * 1e4), 1e-3) << size.units;
    // The transform as it is meant, not as the nearest float.
    const double logicalPerDevice = 1e4 / std::round(first.scale * 1e4);
    EXPECT_GE(logicalPerDevice, size.minLogicalPerDevice) << size.units;
    const double logicalPerUnit = DevicePerUnit(report) * logicalPerDevice;
    EXPECT_LE(size.units * logicalPerUnit, 67108864.0) << size.units;
    // To the nearest logical unit.
    EXPECT_NEAR(first.x / logicalPerUnit, 40.25 * u, 0.5 / logicalPerUnit) << size.units;
    EXPECT_NEAR(first.y / logicalPerUnit, 30.75 * u, 0.5 / logicalPerUnit) << size.units;
  }
}

// Each shape is filled by its own rule: the fill mode is recorded where it
// changes.
TEST(EmfBounds, FillRulesAreRecordedWhereTheyChange) {
  testing_support::TempDir dir;
  Shape evenOdd = Outline({{10, 10}, {30, 10}, {30, 30}}, true, kRed, {});
  evenOdd.evenOdd = true;
  const Shape nonZero = Outline({{10, 10}, {30, 10}, {30, 30}}, true, kRed, {});
  const std::filesystem::path file = dir.Root() / "rules.emf";
  WriteEmf(file, {100, 100, {}}, {&nonZero, &evenOdd, &evenOdd, &nonZero});
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::uint32_t> modes;
  for (std::size_t offset = 0; offset + 12 <= bytes.size();) {
    std::uint32_t type = 0, size = 0, mode = 0;
    std::memcpy(&type, bytes.data() + offset, 4);
    std::memcpy(&size, bytes.data() + offset + 4, 4);
    std::memcpy(&mode, bytes.data() + offset + 8, 4);
    if (size == 0) break;
    if (type == 19) modes.push_back(mode);  // set poly fill mode
    offset += size;
  }
  EXPECT_EQ(modes, (std::vector<std::uint32_t>{2, 1, 2}));  // winding, alternate, winding
}

}  // namespace
}  // namespace tavrel::hostmodel
