#include <gtest/gtest.h>

#include "platform/Text.h"

#include <algorithm>
#include <string>

#include "platform/File.h"
#include "tests/support/TempDir.h"
#include "tests/xml/TreeText.h"
#include "xml/XmlParser.h"

namespace tavrel::xml {
namespace {

using testing::TreeText;
using testing_support::TempDir;
using namespace std::string_literals;

std::string Utf16Le(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

const std::string kMark = "\xFF\xFE";

struct FileCase {
  const char* what;
  std::string bytes;
  ProfileEncoding mode;
  int result;
  std::string tree;
};

TEST(XmlParserLoadFile, DecodesByModeAndMark) {
  const auto other = static_cast<ProfileEncoding>(7);
  const FileCase cases[] = {
      {"empty file", "", ProfileEncoding::Auto, 0, "old"},
      {"mark only", kMark, ProfileEncoding::Auto, 0, "old"},
      {"mark only, utf16", kMark, ProfileEncoding::Utf16, 0, "old"},
      {"leading zero byte", "\0<r/>"s, ProfileEncoding::Ansi, 0, "old"},
      {"utf16 with mark", kMark + Utf16Le(u"<r a=\"\u20ac\"/>"), ProfileEncoding::Auto, 1, "r[a=\"\u20ac\"]"},
      {"utf16 with mark, other mode", kMark + Utf16Le(u"<r/>"), other, 1, "r"},
      {"utf16 with mark, utf16", kMark + Utf16Le(u"<r/>"), ProfileEncoding::Utf16, 1, "r"},
      {"utf16 without mark, utf16", Utf16Le(u"<r/>"), ProfileEncoding::Utf16, 1, "r"},
      // 8-bit decoding stops at the first zero byte: the text is "<".
      {"utf16 without mark, auto", Utf16Le(u"<r><a/></r>"), ProfileEncoding::Auto, 1, ""},
      {"utf16 with mark, ansi", kMark + Utf16Le(u"<r><a/></r>"), ProfileEncoding::Ansi, 1, ""},
      {"big-endian mark", "\xFE\xFF\0<\0r\0/\0>"s, ProfileEncoding::Auto, 1, ""},
      {"utf-8 mark read as 8-bit", "\xEF\xBB\xBF<r/>", ProfileEncoding::Auto, 1, "r{\u00ef\u00bb\u00bf}"},
      {"windows-1252 bytes", "<r v=\"\x80\xFC\x81\"/>", ProfileEncoding::Auto, 1,
       "r[v=\"\u20ac\u00fc\u0081\"]"},
      {"stops at zero byte", "<r/>\0<s/>"s, ProfileEncoding::Ansi, 1, "r"},
      {"stops at zero unit", kMark + Utf16Le(u"<r/>") + "\0\0"s + Utf16Le(u"<s/>"), ProfileEncoding::Auto, 1,
       "r"},
      {"odd utf16 size", kMark + Utf16Le(u"<r/>") + "x", ProfileEncoding::Auto, 1, "r"},
      {"truncated", "<profile><section name=\"G\"><key name=\"a\" val", ProfileEncoding::Auto, 1,
       "profile(section[name=\"G\"])"},
      {"binary", "\x01\x02<\x03>\xFF\x10<<>>\x7F", ProfileEncoding::Auto, 1, "\x03(())"},
  };
  for (const FileCase& c : cases) {
    TempDir dir;
    dir.Write(u"f.xml", c.bytes);
    CXmlParser parser;
    parser.Parse(u"<old/>");
    EXPECT_EQ(parser.LoadFile(dir.Path(u"f.xml"), c.mode), c.result) << c.what;
    EXPECT_EQ(TreeText(*parser.GetRoot()), c.tree) << c.what;
  }
}

TEST(XmlParserLoadFile, UnreadableFilesGiveZeroAndKeepTheTree) {
  TempDir dir;
  dir.Write(u"held.xml", "<r/>");
  platform::File holder = platform::File::Open(dir.Path(u"held.xml"), platform::FileAccess::ReadWrite,
                                               platform::kShareNone, platform::FileDisposition::OpenExisting);
  ASSERT_TRUE(holder);
  const std::u16string paths[] = {dir.Path(u"missing.xml"), dir.Path(u"no\\such\\folder.xml"), dir.Folder(),
                                  dir.Path(u"held.xml"), u""};
  for (const std::u16string& path : paths) {
    CXmlParser parser;
    parser.Parse(u"<old/>");
    EXPECT_EQ(parser.LoadFile(path, ProfileEncoding::Auto), 0) << text::ToUtf8(path);
    EXPECT_EQ(TreeText(*parser.GetRoot()), "old");
  }
}

TEST(ProfileFileReader, HighByteWithNoPlaceToCutIsHandedOnPieceByPiece) {
  // Bytes at 0x40 and above after a high one: nothing waits for a cut.
  std::string bytes = "<profile>\xE9";
  bytes.append(20000, 'A');
  TempDir dir;
  dir.Write(u"f.xml", bytes);
  size_t units = 0;
  size_t largest = 0;
  ProfileFileReader().Read(
      dir.Path(u"f.xml"), ProfileEncoding::Ansi,
      [&](char16_t* first, char16_t* last) {
        units += static_cast<size_t>(last - first);
        largest = std::max(largest, static_cast<size_t>(last - first));
        return true;
      },
      64);
  EXPECT_EQ(units, bytes.size());
  EXPECT_LE(largest, 64U + 4);
}

TEST(XmlParserLoadFile, HundredMegabyteFile) {
  // A real profile with a 100 MB comment in the middle; read in the 8-bit
  // code page so the file is 100 MB on disk.
  constexpr size_t kPadding = size_t{100} * 1024 * 1024;
  TempDir dir;
  std::string bytes = "<profile><section name=\"G\"><!--";
  bytes.append(kPadding, 'x');
  bytes += "--><key name=\"k\" value=\"v\"/></section></profile>";
  dir.Write(u"big.xml", bytes);
  bytes = std::string();
  CXmlParser parser;
  ASSERT_EQ(parser.LoadFile(dir.Path(u"big.xml"), ProfileEncoding::Auto), 1);
  EXPECT_EQ(TreeText(*parser.GetRoot()), "profile(section[name=\"G\"](key[name=\"k\" value=\"v\"]))");
}

}  // namespace
}  // namespace tavrel::xml
