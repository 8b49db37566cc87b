// The portable text helpers must give the Windows runtime's answers in both
// builds; the win32 build also checks them against the runtime itself.
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <cwctype>

namespace tavrel::text {
namespace {

struct IntCase {
  std::u16string input;
  int32_t expected;
};

const IntCase kIntCases[] = {
    {u"", 0},
    {u"0", 0},
    {u"  12", 12},
    {u"\t\r\n 7", 7},
    {u"+5", 5},
    {u"-5", -5},
    {u"-0", 0},
    {u"12abc", 12},
    {u"abc", 0},
    {u"+-3", 0},
    {u" - 3", 0},
    {u"0x10", 0},
    {u"2147483647", INT32_MAX},
    {u"2147483648", INT32_MAX},
    {u"-2147483648", INT32_MIN},
    {u"-2147483649", INT32_MIN},
    {u"99999999999", INT32_MAX},
    {u"-99999999999", INT32_MIN},
    {u"4294967297", INT32_MAX},
    {u"1234567890123456789012345", INT32_MAX},
    {u"\u30007", 7},        // ideographic space is white space
    {u"\u00A08", 8},        // so is the no-break space
    {u"\u00859", 0},        // NEL is not
    {u"\u0661\u0662", 12},  // Arabic-Indic digits count
    {u"\uFF13\uFF14", 34},  // fullwidth digits too
    {u"1\u00B2", 1},        // superscript two does not
    {u"007", 7},
};

TEST(ParseInt, FollowsWindowsWtoi) {
  for (const IntCase& c : kIntCases) {
    EXPECT_EQ(ParseInt(c.input), c.expected) << ToUtf8(c.input);
  }
}

TEST(FormatInt, IsDecimalWithMinusSign) {
  const std::pair<int32_t, std::u16string> cases[] = {
      {0, u"0"}, {7, u"7"}, {-5, u"-5"}, {2147483647, u"2147483647"}, {INT32_MIN, u"-2147483648"}};
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(FormatInt(value), expected);
    EXPECT_EQ(ParseInt(FormatInt(value)), value);
  }
}

TEST(CompareNoCase, FoldsOnlyAsciiLetters) {
  struct Case {
    std::u16string a, b;
    int sign;
  };
  const Case cases[] = {
      {u"General", u"general", 0},
      {u"EmbAppType", u"EMBAPPTYPE", 0},
      {u"a", u"B", -1},
      {u"_", u"a", -1},  // folding goes to lower case: '_' (0x5F) < 'a'
      {u"\u00E4", u"\u00C4", 1},
      {u"ab", u"a", 1},
      {u"a", u"ab", -1},
      {u"", u"", 0},
  };
  for (const Case& c : cases) {
    const int r = CompareNoCase(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << ToUtf8(c.a) << " vs " << ToUtf8(c.b);
  }
}

TEST(IsSpace, MatchesTheWindowsSet) {
  const char16_t spaces[] = {0x09,   0x0A,   0x0B,   0x0C,   0x0D,   0x20,   0xA0,   0x1680,
                             0x2000, 0x2005, 0x200A, 0x2028, 0x2029, 0x202F, 0x205F, 0x3000};
  for (char16_t c : spaces) EXPECT_TRUE(IsSpace(c)) << int(c);
  const char16_t others[] = {0x00, 0x08, 0x0E, 0x1F, 0x21, 0x85, 0x200B, 0xFEFF, u'a'};
  for (char16_t c : others) EXPECT_FALSE(IsSpace(c)) << int(c);
}

TEST(Utf8, RoundTripsAndReplacesBrokenInput) {
  const std::u16string text = u"Gr\u00FC\u00DFe \u20AC \U0001F600";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(FromUtf8("\xC3"), u"\uFFFD");
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b"),
            u"a\uFFFDb");
}

#ifdef _WIN32
// The helpers stand in for the runtime; here the runtime is at hand, so every
// code unit and the integer table are compared with it.
TEST(WindowsRuntime, AgreesWithTheHelpers) {
  for (unsigned c = 0; c < 0x10000; ++c) {
    ASSERT_EQ(IsSpace(static_cast<char16_t>(c)), ::iswspace(static_cast<wint_t>(c)) != 0) << c;
    const wchar_t digit[3] = {static_cast<wchar_t>(c), L'5', 0};
    ASSERT_EQ(ParseInt(std::u16string_view(reinterpret_cast<const char16_t*>(digit), 2)), ::_wtoi(digit))
        << c;
  }
  for (const IntCase& c : kIntCases) {
    EXPECT_EQ(ParseInt(c.input), ::_wtoi(reinterpret_cast<const wchar_t*>(c.input.c_str())));
  }
}
#endif

}  // namespace
}  // namespace tavrel::text
