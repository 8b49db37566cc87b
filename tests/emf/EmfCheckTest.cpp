#include "tools/emf/EmfCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace tavrel::emf {
namespace {

// Builds a small metafile record by record; the header's counts are filled
// in by Bytes() from what was added.
class EmfBuilder {
 public:
  EmfBuilder() {
    Word(kHeader);
    Word(88);
    for (std::int32_t v : {0, 0, 99, 49}) Word(static_cast<std::uint32_t>(v));      // bounds
    for (std::int32_t v : {0, 0, 2645, 1322}) Word(static_cast<std::uint32_t>(v));  // frame
    Word(0x464D4520);
    Word(0x10000);
    Word(0);  // bytes
    Word(0);  // records
    Word(1);  // handles, reserved
    for (int i = 0; i < 7; ++i) Word(i < 3 ? 0 : 1000);
    records_ = 1;
  }
  EmfBuilder& Record(std::uint32_t type, const std::vector<std::uint32_t>& body) {
    Word(type);
    Word(static_cast<std::uint32_t>(8 + 4 * body.size()));
    for (std::uint32_t w : body) Word(w);
    ++records_;
    return *this;
  }
  // A 16-bit Bezier record with `points` points.
  EmfBuilder& Bezier16(std::uint32_t type, std::uint32_t points) {
    std::vector<std::uint32_t> body = {0, 0, 10, 10, points};
    for (std::uint32_t i = 0; i < points; ++i) body.push_back(i | (i << 16));
    return Record(type, body);
  }
  EmfBuilder& Eof() { return Record(kEof, {0, 16, 20}); }
  std::string Bytes() const {
    std::string out = bytes_;
    Put(out, 48, static_cast<std::uint32_t>(out.size()));
    Put(out, 52, records_);
    return out;
  }
  static void Put(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  }

 private:
  void Word(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  std::string bytes_;
  std::uint32_t records_ = 0;
};

std::string ValidFile() {
  return EmfBuilder()
      .Record(kBeginPath, {})
      .Bezier16(kPolyBezierTo16, 3)
      .Record(kEndPath, {})
      .Record(kStrokeAndFillPath, {0, 0, 10, 10})
      .Record(kEllipse, {0, 0, 10, 10})
      .Bezier16(kPolyBezier16, 4)
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
      {"Bezier 3k", [] { return EmfBuilder().Bezier16(kPolyBezier16, 3).Eof().Bytes(); }, "not 3k+1"},
      {"Bezier 32-bit 5",
       [] {
         std::vector<std::uint32_t> body = {0, 0, 1, 1, 5};
         body.resize(5 + 10);
         return EmfBuilder().Record(kPolyBezier, body).Eof().Bytes();
       },
       "not 3k+1"},
      {"BezierTo 4", [] { return EmfBuilder().Bezier16(kPolyBezierTo16, 4).Eof().Bytes(); }, "not 3k"},
      {"BezierTo 0", [] { return EmfBuilder().Bezier16(kPolyBezierTo16, 0).Eof().Bytes(); }, "not 3k"},
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
