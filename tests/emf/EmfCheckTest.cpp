#include "tools/emf/EmfCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/emf/EmfBuilder.h"
#include "tests/support/TempDir.h"

namespace tavrel::emf {
namespace {

std::string ValidFile() {
  return EmfBuilder()
      .Record(kBeginPath, {})
      .Poly(kPolyBezierTo16, 3)
      .Record(kEndPath, {})
      .Record(kStrokeAndFillPath, {0, 0, 10, 10})
      .Record(kEllipse, {0, 0, 10, 10})
      .Poly(kPolyBezier16, 4)
      .Eof()
      .Bytes();
}

// Every form of the records with point lists, as a sound writer makes them,
// the 32-bit ones included.
std::string PolyRecordsFile() {
  return EmfBuilder()
      .Poly(kPolygon, 3)
      .Poly(kPolyline, 2)
      .Poly(kPolyBezier, 4)
      .Poly(kPolygon16, 5)
      .Poly(kPolyline16, 2)
      .Record(kBeginPath, {})
      .Poly(kPolyBezierTo, 6)
      .Poly(kPolylineTo16, 1)
      .Poly(kPolylineTo, 1)
      .Record(kEndPath, {})
      .Record(kFillPath, {0, 0, 10, 10})
      .Record(kPolyPolygon16, {0, 0, 10, 10, 2, 6, 3, 3, 0, 1, 2, 3, 4, 5})
      .Record(kPolyPolyline, {0, 0, 10, 10, 1, 2, 2, 0, 0, 5, 5})
      .Record(kPolyDraw16, {0, 0, 10, 10, 2, 0, 0x00050005, 0x0206})
      .Eof()
      .Bytes();
}

TEST(EmfCheck, AcceptsAWellFormedFileAndReportsItsContents) {
  const std::string bytes = ValidFile();
  const EmfReport report = CheckEmf(bytes);
  ASSERT_TRUE(report.wellFormed) << report.error;
  EXPECT_EQ(report.fileSize, bytes.size());
  EXPECT_EQ(report.recordCount, 8u);
  EXPECT_EQ(report.headerRecords, 8u);
  EXPECT_EQ(report.bounds.right, 99);
  EXPECT_EQ(report.frame.right, 2645);
  EXPECT_EQ(report.frame.bottom, 1322);
  EXPECT_EQ(report.Count(kEllipse), 1u);
  EXPECT_EQ(report.Count(kPolyBezierTo16), 1u);
  EXPECT_EQ(report.Count(kPolygon), 0u);
  // The path's own figure does not paint; the path fill, the ellipse and the
  // free-standing Bezier do.
  EXPECT_EQ(report.drawingRecords, 3u);
}

TEST(EmfCheck, AcceptsEveryFormOfPolyRecord) {
  const EmfReport report = CheckEmf(PolyRecordsFile());
  ASSERT_TRUE(report.wellFormed) << report.error;
  EXPECT_EQ(report.Count(kPolygon), 1u);
  EXPECT_EQ(report.Count(kPolyline), 1u);
  EXPECT_EQ(report.Count(kPolyBezier), 1u);
  EXPECT_EQ(report.drawingRecords, 9u);
}

struct Corruption {
  const char* name;
  std::function<std::string()> make;
  const char* errorPart;
};

std::string Patched(std::size_t at, std::uint32_t value) {
  std::string bytes = ValidFile();
  EmfBuilder::Put(bytes, at, value);
  return bytes;
}

TEST(EmfCheck, RejectsCorruptedFiles) {
  const std::vector<Corruption> cases = {
      {"empty", [] { return std::string(); }, "empty"},
      {"signature", [] { return Patched(40, 0x464D4521); }, "signature"},
      {"version", [] { return Patched(44, 0x10001); }, "version"},
      {"byte count", [] { return Patched(48, 4); }, "bytes"},
      {"record count", [] { return Patched(52, 9); }, "records"},
      {"zero size", [] { return Patched(92, 0); }, "size 0"},
      {"unaligned size", [] { return Patched(92, 10); }, "multiple of 4"},
      {"size past end", [] { return Patched(92, 0x10000); }, "past the end"},
      {"short header", [] { return Patched(4, 40); }, "header record shorter"},
      {"first not header", [] { return Patched(0, kEof); }, "first record"},
      {"truncated", [] { return ValidFile().substr(0, ValidFile().size() - 4); }, "bytes"},
      {"trailing bytes",
       [] {
         std::string b = ValidFile() + "xxxx";
         EmfBuilder::Put(b, 48, static_cast<std::uint32_t>(b.size()));
         return b;
       },
       "after the end record"},
      {"record after end",
       [] {
         return EmfBuilder().Eof().Record(kEllipse, {0, 0, 1, 1}).Bytes();
       },
       "after the end record"},
      {"no end record",
       [] {
         std::string b = EmfBuilder().Record(kEllipse, {0, 0, 1, 1}).Bytes();
         return b;
       },
       "no end record"},
      {"two end records", [] { return EmfBuilder().Eof().Eof().Bytes(); }, "after the end record"},
      {"second header",
       [] { return EmfBuilder().Record(kHeader, std::vector<std::uint32_t>(20)).Eof().Bytes(); },
       "second header"},
      {"Bezier 3k", [] { return EmfBuilder().Poly(kPolyBezier16, 3).Eof().Bytes(); }, "not 3k+1"},
      {"Bezier 32-bit 5",
       [] {
         std::vector<std::uint32_t> body = {0, 0, 1, 1, 5};
         body.resize(5 + 10);
         return EmfBuilder().Record(kPolyBezier, body).Eof().Bytes();
       },
       "not 3k+1"},
      {"BezierTo 4", [] { return EmfBuilder().Poly(kPolyBezierTo16, 4).Eof().Bytes(); }, "not 3k"},
      {"BezierTo 0", [] { return EmfBuilder().Poly(kPolyBezierTo16, 0).Eof().Bytes(); }, "not 3k"},
      {"POLYLINE16 claiming 1000 points in 36 bytes",
       [] {
         return EmfBuilder().Record(kPolyline16, {0, 0, 10, 10, 1000, 0, 0}).Eof().Bytes();
       },
       "point count 1000 exceeds the record"},
      {"POLYGON one point short",
       [] {
         return EmfBuilder().Record(kPolygon, {0, 0, 1, 1, 3, 0, 0, 1, 1}).Eof().Bytes();
       },
       "exceeds the record"},
      {"POLYLINETO without its count",
       [] {
         return EmfBuilder().Record(kPolylineTo, {0, 0, 1, 1}).Eof().Bytes();
       },
       "too short for its point count"},
      {"POLYPOLYGON16 counts past record",
       [] {
         return EmfBuilder().Record(kPolyPolygon16, {0, 0, 1, 1, 300, 3, 3, 0, 0}).Eof().Bytes();
       },
       "exceeds the record"},
      {"POLYPOLYLINE counts not adding up",
       [] {
         return EmfBuilder().Record(kPolyPolyline, {0, 0, 1, 1, 1, 2, 3, 0, 0, 5, 5}).Eof().Bytes();
       },
       "add up to 3, not 2"},
      {"POLYDRAW16 without its types",
       [] {
         return EmfBuilder().Record(kPolyDraw16, {0, 0, 1, 1, 2, 0, 0}).Eof().Bytes();
       },
       "exceeds the record"},
      {"Bezier count past record",
       [] {
         return EmfBuilder().Record(kPolyBezierTo, {0, 0, 1, 1, 3, 0, 0}).Eof().Bytes();
       },
       "exceeds the record"},
  };
  for (const Corruption& c : cases) {
    const EmfReport report = CheckEmf(c.make());
    EXPECT_FALSE(report.wellFormed) << c.name;
    EXPECT_NE(report.error.find(c.errorPart), std::string::npos) << c.name << ": " << report.error;
  }
}

TEST(EmfCheck, ReadsFilesAndReportsUnreadableOnes) {
  testing_support::TempDir dir;
  dir.Write(u"a.emf", ValidFile());
  EXPECT_TRUE(CheckEmfFile(dir.Native(u"a.emf")).wellFormed);
  const EmfReport missing = CheckEmfFile(dir.Native(u"missing.emf"));
  EXPECT_FALSE(missing.wellFormed);
  EXPECT_NE(missing.error.find("cannot open"), std::string::npos);
}

}  // namespace
}  // namespace tavrel::emf
