#include "tools/host/svg/SvgReader.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "tests/support/TempDir.h"

namespace tavrel::hostmodel {
namespace {

const std::filesystem::path kFlower =
    std::filesystem::path(TAVREL_SOURCE_DIR) / "tools/host/samples/flower.svg";

const Shape& ById(const Drawing& drawing, const std::string& id) {
  for (const Shape& shape : drawing.page.shapes) {
    if (shape.id == id) return shape;
  }
  throw std::runtime_error("no shape " + id);
}

void ExpectPoint(Point actual, Point expected, const std::string& what) {
  EXPECT_NEAR(actual.x, expected.x, 1e-9) << what;
  EXPECT_NEAR(actual.y, expected.y, 1e-9) << what;
}

TEST(SvgReader, ReadsEveryShapeOfTheSampleInDocumentOrder) {
  const Drawing drawing = ReadSvg(kFlower);
  EXPECT_EQ(drawing.page.width, 200);
  EXPECT_EQ(drawing.page.height, 150);
  std::vector<std::string> ids;
  ids.reserve(drawing.page.shapes.size());
  for (const Shape& shape : drawing.page.shapes) ids.push_back(shape.id);
  // The rect inside <defs> is no shape of the page.
  EXPECT_EQ(ids, (std::vector<std::string>{"frame", "centre", "petal-n", "petal-s", "petal-e", "petal-w",
                                           "stem", "leaf", "grass", "cloud", "bee"}));
}

TEST(SvgReader, AppliesGroupTransformsAndStyles) {
  const Drawing drawing = ReadSvg(kFlower);
  const Shape& centre = ById(drawing, "centre");
  ASSERT_TRUE(centre.ellipse.has_value());
  ExpectPoint(centre.ellipse->centre, {100, 60}, "circle centre");
  EXPECT_EQ(centre.ellipse->radiusX, 12);
  EXPECT_EQ(centre.fill, (Color{0xf6, 0xc9, 0x45}));    // own fill wins
  EXPECT_EQ(centre.stroke, (Color{0x7a, 0x1f, 0x3d}));  // inherited from the group
  const Shape& petal = ById(drawing, "petal-n");
  EXPECT_EQ(petal.fill, (Color{0xe0, 0x45, 0x7b}));
  EXPECT_EQ(petal.ellipse->radiusY, 16);

  const Shape& frame = ById(drawing, "frame");
  EXPECT_FALSE(frame.fill.has_value());
  EXPECT_EQ(frame.stroke, (Color{0x33, 0x33, 0x33}));
  EXPECT_EQ(frame.strokeWidth, 2);
  ASSERT_EQ(frame.figures.size(), 1u);
  EXPECT_TRUE(frame.figures[0].closed);
  ExpectPoint(frame.figures[0].segments[1].end, {195, 145}, "rect corner");

  EXPECT_EQ(ById(drawing, "leaf").fill, (Color{0x3c, 0x8d, 0x2f}));  // from the style attribute
  EXPECT_FALSE(ById(drawing, "grass").fill.has_value());
  EXPECT_FALSE(ById(drawing, "stem").fill.has_value());  // a line is never filled
}

TEST(SvgReader, ReadsAbsoluteAndRelativePathData) {
  const Drawing drawing = ReadSvg(kFlower);
  const Shape& east = ById(drawing, "petal-e");
  ASSERT_EQ(east.figures.size(), 1u);
  ExpectPoint(east.figures[0].start, {114, 60}, "absolute start, translated");
  ASSERT_EQ(east.figures[0].segments.size(), 2u);
  EXPECT_TRUE(east.figures[0].closed);

  const Shape& west = ById(drawing, "petal-w");
  ExpectPoint(west.figures[0].start, {86, 60}, "relative start, translated");
  ExpectPoint(west.figures[0].segments[0].control1, {80, 46}, "relative control point");
  ExpectPoint(west.figures[0].segments[0].end, {56, 60}, "relative end");
  ExpectPoint(west.figures[0].segments[1].end, {86, 60}, "second relative curve ends at the start");

  const Shape& bee = ById(drawing, "bee");
  ASSERT_EQ(bee.figures.size(), 2u);
  ExpectPoint(bee.figures[0].start, {30, 30}, "matrix translation");
  ExpectPoint(bee.figures[1].segments[1].end, {38, 30}, "relative lines in the second figure");
}

TEST(SvgReader, RejectsFilesThatAreNoDrawing) {
  testing_support::TempDir dir;
  const std::vector<std::pair<const char*, const char*>> files = {
      {"broken.svg", "<svg width='10' height='10'><rect"},
      {"html.svg", "<html/>"},
      {"nosize.svg", "<svg><rect width='1' height='1'/></svg>"},
      {"percent.svg", "<svg width='100%' height='100%'><rect width='1' height='1'/></svg>"},
      {"zero.svg", "<svg width='0' height='10'/>"},
      {"badlength.svg", "<svg width='10furlong' height='10'/>"},
      {"empty.svg", ""},
      {"twice.svg", "<svg width='1' height='1'/><svg width='1' height='1'/>"},
  };
  for (const auto& [name, content] : files) {
    dir.Write(text::FromAscii(name), content);
    EXPECT_THROW(ReadSvg(dir.Root() / name), std::runtime_error) << name;
  }
  EXPECT_THROW(ReadSvg(dir.Root() / "missing.svg"), std::runtime_error);
}

TEST(SvgReader, RefusalsNameTheFileAndTheFault) {
  testing_support::TempDir dir;
  const std::vector<std::pair<const char*, const char*>> files = {
      {"broken.svg", "not well-formed XML: line 1"},
      {"html.svg", "the root element is <html>, not <svg>"},
      {"nosize.svg", "the svg element gives no page width"},
      {"zero.svg", "the page width 0 is not positive"},
  };
  dir.Write(u"broken.svg", "<svg width='10' height='10'><rect");
  dir.Write(u"html.svg", "<html/>");
  dir.Write(u"nosize.svg", "<svg/>");
  dir.Write(u"zero.svg", "<svg width='0' height='10'/>");
  for (const auto& [name, message] : files) {
    try {
      ReadSvg(dir.Root() / name);
      ADD_FAILURE() << name << " was read";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace tavrel::hostmodel
