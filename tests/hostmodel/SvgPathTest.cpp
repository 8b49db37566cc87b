#include "tools/host/svg/SvgPath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools/host/svg/SvgNumbers.h"

namespace tavrel::hostmodel {
namespace {

using S = Segment;

void ExpectPoint(Point actual, Point expected, const std::string& what, double tolerance = 1e-9) {
  EXPECT_NEAR(actual.x, expected.x, tolerance) << what;
  EXPECT_NEAR(actual.y, expected.y, tolerance) << what;
}

void ExpectFigures(const std::vector<Figure>& actual, const std::vector<Figure>& expected,
                   const std::string& what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (std::size_t f = 0; f < actual.size(); ++f) {
    ExpectPoint(actual[f].start, expected[f].start, what);
    EXPECT_EQ(actual[f].closed, expected[f].closed) << what;
    ASSERT_EQ(actual[f].segments.size(), expected[f].segments.size()) << what;
    for (std::size_t s = 0; s < actual[f].segments.size(); ++s) {
      const Segment& a = actual[f].segments[s];
      const Segment& e = expected[f].segments[s];
      EXPECT_EQ(a.cubic, e.cubic) << what;
      ExpectPoint(a.end, e.end, what);
      if (e.cubic) {
        ExpectPoint(a.control1, e.control1, what);
        ExpectPoint(a.control2, e.control2, what);
      }
    }
  }
}

struct PathCase {
  const char* data;
  std::vector<Figure> expected;
};

TEST(SvgPath, ReadsEveryCommandAbsoluteAndRelative) {
  const std::vector<PathCase> cases = {
      {"M1 2 L3 4", {{{1, 2}, {S{false, {}, {}, {3, 4}}}, false}}},
      {"M1,2 3,4", {{{1, 2}, {S{false, {}, {}, {3, 4}}}, false}}},  // implicit lineto
      {"m1 2 3 4", {{{1, 2}, {S{false, {}, {}, {4, 6}}}, false}}},  // implicit relative lineto
      {"M0 0 H5 V6 h-1 v-1",
       {{{0, 0},
         {S{false, {}, {}, {5, 0}}, S{false, {}, {}, {5, 6}}, S{false, {}, {}, {4, 6}},
          S{false, {}, {}, {4, 5}}},
         false}}},
      {"M0 0 H1 2 3",
       {{{0, 0}, {S{false, {}, {}, {1, 0}}, S{false, {}, {}, {2, 0}}, S{false, {}, {}, {3, 0}}}, false}}},
      {"M0 0 Q3 3 6 0", {{{0, 0}, {S{true, {2, 2}, {4, 2}, {6, 0}}}, false}}},  // quadratic as cubic
      {"M0 0 c1 1 2 2 3 0z", {{{0, 0}, {S{true, {1, 1}, {2, 2}, {3, 0}}}, true}}},
      // S reflects the previous cubic's second control point.
      {"M0 0 C1 1 2 1 3 0 S5 -1 6 0",
       {{{0, 0}, {S{true, {1, 1}, {2, 1}, {3, 0}}, S{true, {4, -1}, {5, -1}, {6, 0}}}, false}}},
      {"M0 0 C1 1 2 1 3 0 s2 -1 3 0",
       {{{0, 0}, {S{true, {1, 1}, {2, 1}, {3, 0}}, S{true, {4, -1}, {5, -1}, {6, 0}}}, false}}},
      // S without a cubic before it takes the current point.
      {"M0 0 S3 3 6 0", {{{0, 0}, {S{true, {0, 0}, {3, 3}, {6, 0}}}, false}}},
      // T reflects the previous quadratic's control point: Q(3,3) then T's (9,-3).
      {"M0 0 Q3 3 6 0 T12 0",
       {{{0, 0}, {S{true, {2, 2}, {4, 2}, {6, 0}}, S{true, {8, -2}, {10, -2}, {12, 0}}}, false}}},
      {"M0 0 q3 3 6 0 t6 0",
       {{{0, 0}, {S{true, {2, 2}, {4, 2}, {6, 0}}, S{true, {8, -2}, {10, -2}, {12, 0}}}, false}}},
      {"M0 0 L1 0 Z l0 1",
       {{{0, 0}, {S{false, {}, {}, {1, 0}}}, true}, {{0, 0}, {S{false, {}, {}, {0, 1}}}, false}}},
      {"M0 0 L1 0 m2 2 l1 1",
       {{{0, 0}, {S{false, {}, {}, {1, 0}}}, false}, {{3, 2}, {S{false, {}, {}, {4, 3}}}, false}}},
      // Numbers run together: signs, exponents, and a second point after a fraction.
      {"M1e-3-2e2L.5.5", {{{0.001, -200}, {S{false, {}, {}, {0.5, 0.5}}}, false}}},
      {"M0,0l+1.5E1-.25", {{{0, 0}, {S{false, {}, {}, {15, -0.25}}}, false}}},
      {"M5 5", {}},  // a lone move draws nothing
  };
  for (const PathCase& c : cases) {
    const PathData path = ParsePathData(c.data);
    EXPECT_TRUE(path.complete) << c.data;
    ExpectFigures(path.figures, c.expected, c.data);
  }
}

TEST(SvgPath, DrawsUpToTheFirstError) {
  const std::vector<PathCase> cases = {
      {"L1 2", {}},
      {"X", {}},
      {"M1 2 L3", {}},
      {"M0 0 L1 1 L2", {{{0, 0}, {S{false, {}, {}, {1, 1}}}, false}}},
      {"M0 0 L1 1 Z 3 4", {{{0, 0}, {S{false, {}, {}, {1, 1}}}, true}}},
      {"M0 0 L1 1 # 2 2", {{{0, 0}, {S{false, {}, {}, {1, 1}}}, false}}},
      {"M0 0 A1 1 0 2 1 3 3", {}},  // a flag is 0 or 1
  };
  for (const PathCase& c : cases) {
    const PathData path = ParsePathData(c.data);
    EXPECT_FALSE(path.complete) << c.data;
    ExpectFigures(path.figures, c.expected, c.data);
  }
}

double Distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Every point of the figure's cubics at t = 0.5 lies on the circle (within
// the cubic approximation's error), and the figure ends at `end`.
void ExpectOnCircle(const Figure& figure, Point centre, double radius, Point end, const std::string& what) {
  Point from = figure.start;
  for (const Segment& s : figure.segments) {
    ASSERT_TRUE(s.cubic) << what;
    const Point mid = {(from.x + 3 * s.control1.x + 3 * s.control2.x + s.end.x) / 8,
                       (from.y + 3 * s.control1.y + 3 * s.control2.y + s.end.y) / 8};
    EXPECT_NEAR(Distance(mid, centre), radius, radius * 1e-3) << what;
    EXPECT_NEAR(Distance(s.end, centre), radius, radius * 1e-9) << what;
    from = s.end;
  }
  ExpectPoint(figure.segments.back().end, end, what);
}

TEST(SvgArc, ConvertsTheEndpointFormToQuarterTurnCubics) {
  // A half circle from (0,0) to (20,0): two quarter turns about (10,0).
  PathData path = ParsePathData("M0 0 A10 10 0 0 1 20 0");
  ASSERT_EQ(path.figures.size(), 1u);
  EXPECT_EQ(path.figures[0].segments.size(), 2u);
  ExpectOnCircle(path.figures[0], {10, 0}, 10, {20, 0}, "half circle");
  // The sweep flag picks the side: clockwise on screen (y down) passes y < 0.
  EXPECT_LT(path.figures[0].segments[0].end.y, 0);
  path = ParsePathData("M0 0 A10 10 0 0 0 20 0");
  EXPECT_GT(path.figures[0].segments[0].end.y, 0);

  // The four arcs between (0,0) and (10,10) on radius 10: the large-arc
  // flag picks three quarters, the sweep flag the centre.
  struct Case {
    const char* data;
    Point centre;
    std::size_t pieces;
  };
  for (const Case& c :
       {Case{"M0 0 A10 10 0 0 1 10 10", {0, 10}, 1}, Case{"M0 0 A10 10 0 0 0 10 10", {10, 0}, 1},
        Case{"M0 0 A10 10 0 1 1 10 10", {10, 0}, 3}, Case{"M0 0 a10 10 0 1 0 10 10", {0, 10}, 3}}) {
    path = ParsePathData(c.data);
    ASSERT_EQ(path.figures.size(), 1u) << c.data;
    EXPECT_EQ(path.figures[0].segments.size(), c.pieces) << c.data;
    ExpectOnCircle(path.figures[0], c.centre, 10, {10, 10}, c.data);
  }
}

TEST(SvgArc, CorrectsRadiiThatCannotReachTheEnd) {
  // Radius 1 cannot span 20 units: scaled up to 10, the half circle.
  const PathData path = ParsePathData("M0 0 A1 1 0 0 1 20 0");
  ASSERT_EQ(path.figures.size(), 1u);
  ExpectOnCircle(path.figures[0], {10, 0}, 10, {20, 0}, "scaled radii");
  // The grammar has no negative radii: an error, drawn up to it.
  const PathData negative = ParsePathData("M0 0 L1 1 A-10 -10 0 0 1 20 0");
  EXPECT_FALSE(negative.complete);
  ASSERT_EQ(negative.figures.size(), 1u);
  EXPECT_EQ(negative.figures[0].segments.size(), 1u);
}

TEST(SvgArc, RotatedEllipseKeepsItsEndPoints) {
  const PathData path = ParsePathData("M10 10 A20 10 30 1 0 40 25 a5 5 0 0 1 -5 5");
  ASSERT_EQ(path.figures.size(), 1u);
  const std::vector<Segment>& s = path.figures[0].segments;
  ASSERT_GE(s.size(), 3u);
  ExpectPoint(s.back().end, {35, 30}, "relative arc end");
}

TEST(SvgArc, DegenerateArcsAreLinesOrNothing) {
  // A zero radius is a straight line; an arc to its own start is left out.
  ExpectFigures(ParsePathData("M0 0 A0 5 0 0 1 10 0").figures, {{{0, 0}, {S{false, {}, {}, {10, 0}}}, false}},
                "rx 0");
  ExpectFigures(ParsePathData("M0 0 A5 0 0 0 1 10 0").figures, {{{0, 0}, {S{false, {}, {}, {10, 0}}}, false}},
                "ry 0");
  ExpectFigures(ParsePathData("M3 3 A5 5 0 0 1 3 3").figures, {}, "same point");
  // Arc flags may run into the numbers after them.
  ExpectFigures(ParsePathData("M0 0 A0 5 0 1110 0").figures, {{{0, 0}, {S{false, {}, {}, {10, 0}}}, false}},
                "compact flags");
}

TEST(SvgNumbers, ListsPointsAndLengths) {
  EXPECT_EQ(ParseNumbers(" 1,2 3e1 -4.5.5 "), (std::vector<double>{1, 2, 30, -4.5, 0.5}));
  EXPECT_EQ(ParseNumbers(""), std::vector<double>{});
  for (const char* bad : {"1,,2", "1 x", "1,", "0x10", "inf", "1 2 ,"}) {
    EXPECT_THROW(ParseNumbers(bad), std::runtime_error) << bad;
  }
  // A point list with an odd count or an error keeps the points before it.
  EXPECT_EQ(ParsePoints("1 2 3 4 5").size(), 2u);
  EXPECT_EQ(ParsePoints("1 2 3 4 x 5 6").size(), 2u);

  struct Case {
    const char* text;
    double pixels;
  };
  for (const Case& c : {Case{"10", 10}, Case{"10px", 10}, Case{"72pt", 96}, Case{"1in", 96},
                        Case{"2.54cm", 96}, Case{"25.4mm", 96}, Case{"6pc", 96}, Case{"1em", 16},
                        Case{"50%", 100}, Case{" 3 ", 3}, Case{"1e2", 100}}) {
    const std::optional<double> length = ParseLength(c.text, 200);
    ASSERT_TRUE(length.has_value()) << c.text;
    EXPECT_NEAR(*length, c.pixels, 1e-9) << c.text;
  }
  for (const char* bad : {"", "px", "10 px", "10furlong", "1e", "--1"}) {
    EXPECT_FALSE(ParseLength(bad, 100).has_value()) << bad;
  }
}

}  // namespace
}  // namespace tavrel::hostmodel
