#include "platform/Codepage.h"

#include <gtest/gtest.h>

namespace tavrel::platform {
namespace {

TEST(Codepage, ReadsWindows1252) {
  EXPECT_EQ(AnsiToUtf16("Gr\xFC\xDF"
                        "e"),
            u"Gr\u00FC\u00DFe");
  EXPECT_EQ(AnsiToUtf16("\x80\x9F"), u"\u20AC\u0178");
  // Bytes that 1252 leaves undefined map to the C1 control of that number.
  EXPECT_EQ(AnsiToUtf16("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D");
  EXPECT_EQ(AnsiToUtf16(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Codepage, WritesWindows1252AndRoundTripsEveryByte) {
  EXPECT_EQ(Utf16ToAnsi(u"\u20ACuro \u00E9"), "\x80uro \xE9");
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(all)), all);
}

TEST(Codepage, WholeCharactersLeaveOffACharacterCutShort) {
  struct Case {
    unsigned codePage;
    std::string_view bytes;
    size_t whole;
  };
  const Case cases[] = {
      {0, "<a \xE9\xE9", 5},
      {1252, "\xE9", 1},
      {0, "", 0},
#ifdef _WIN32
      // Shift JIS: a lead byte begins two bytes, whatever follows.
      {932, "\x82\xA0\x82", 2},
      {932, "a\x82\xA0", 3},
      {932, "\x82", 0},
      {932, "\x82\x82\x82", 2},
      {932, "\xB1\x82", 1},
      {65001, "a\xC3", 1},
      {65001, "a\xC3\xA9", 3},
      {65001, "\xE2\x82", 0},
      {65001, "\xF0\x9F\x98", 0},
      {65001, "\xF0\x9F\x98\x80", 4},
#endif
  };
  for (const Case& c : cases) EXPECT_EQ(WholeCharacters(c.bytes, c.codePage), c.whole) << c.codePage;
}

TEST(Codepage, UnmappableBecomesDefaultCharacter) { EXPECT_EQ(Utf16ToAnsi(u"\u4E2D"), "?"); }

}  // namespace
}  // namespace tavrel::platform
