// The portable text helpers must give the Windows runtime's answers in both
// builds; the win32 build also checks them against the runtime itself.
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <utf8.h>
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

TEST(Utf8, RoundTripsAndReplacesUnpairedSurrogates) {
  const std::u16string text = u"Gr\u00FC\u00DFe \u20AC \U0001F600 \uFFFD \U0010FFFF";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
}

// Ill-formed UTF-8 gives one U+FFFD for each maximal part that could have
// begun a well-formed sequence, and for each other byte.
TEST(Utf8, FromUtf8AcceptsOnlyWellFormedSequences) {
  struct Case {
    const char* name;
    std::string input;
    std::u16string expected;
  };
  const Case cases[] = {
      {"ASCII and NUL", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"smallest two-byte", "\xC2\x80", u"\u0080"},
      {"largest three-byte", "\xEF\xBF\xBF", u"\uFFFF"},
      {"smallest four-byte", "\xF0\x90\x80\x80", u"\U00010000"},
      {"largest code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      {"last before the surrogates", "\xED\x9F\xBF", u"\uD7FF"},
      {"first after the surrogates", "\xEE\x80\x80", u"\uE000"},
      {"overlong NUL", "\xC0\x80", u"\uFFFD\uFFFD"},
      {"overlong slash", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
      {"overlong two-byte lead C1", "\xC1\xBF", u"\uFFFD\uFFFD"},
      {"overlong four-byte", "\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"high surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"low surrogate", "\xED\xBF\xBF", u"\uFFFD\uFFFD\uFFFD"},
      {"surrogate pair encoded", "\xED\xA0\xBD\xED\xB8\x80", std::u16string(6, u'\uFFFD')},
      {"past U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"five-byte lead", "\xF8\x88\x80\x80\x80", std::u16string(5, u'\uFFFD')},
      {"F5 lead", "\xF5\x80", u"\uFFFD\uFFFD"},
      {"FF",
       "a\xFF"
       "b",
       u"a\uFFFDb"},
      {"stray continuation", "\x80z", u"\uFFFDz"},
      {"truncated two-byte at the end", "\xC3", u"\uFFFD"},
      {"truncated three-byte before ASCII", "\xE2\x82z", u"\uFFFDz"},
      {"truncated four-byte at the end", "\xF0\x9F\x98", u"\uFFFD"},
      {"lead after a lead", "\xE2\xC3\xA9", u"\uFFFD\u00E9"},
      // The example of the Unicode standard's chapter on conformance.
      {"mixed",
       "a\xF1\x80\x80\xE1\x80\xC2"
       "b\x80"
       "c\x80\xBF"
       "d",
       u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FromUtf8(c.input), c.expected) << c.name;
  }
}

// Every sequence of up to three bytes, and four-byte ones over every lead
// and second byte, checked against a well-kept UTF-8 library: what it calls
// valid decodes to its UTF-16, what it refuses gives a replacement.
TEST(Utf8, FromUtf8AgreesWithUtfcpp) {
  std::string input;
  int disagreements = 0;
  auto check = [&] {
    const std::u16string ours = FromUtf8(input);
    const bool agrees = utf8::is_valid(input.begin(), input.end())
                            ? ours == utf8::utf8to16(input)
                            : ours.find(u'\uFFFD') != std::u16string::npos;
    if (!agrees && ++disagreements <= 5) ADD_FAILURE() << "disagrees on " << testing::PrintToString(input);
  };
  for (unsigned a = 0; a < 0x100; ++a) {
    for (unsigned b = 0; b < 0x100; ++b) {
      input.assign({static_cast<char>(a), static_cast<char>(b)});
      check();
      if (a >= 0xE0) {
        for (unsigned c = 0; c < 0x100; ++c) {
          input.assign({static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)});
          check();
          if (a >= 0xF0) {
            input.push_back('\x80');
            check();
            input.back() = '\xBF';
            check();
          }
        }
      }
    }
  }
  EXPECT_EQ(disagreements, 0);
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
