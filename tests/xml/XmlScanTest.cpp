#include <gtest/gtest.h>

#include <random>
#include <string>

#include "xml/XmlScan.h"

namespace tavrel::xml {
namespace {

// Random texts of every length up to 40 over units next to the ones looked
// for (so a unit off by one or a lane mix-up shows), each unit at every
// position of the vector, against the plain loop: the mark found, the line
// feeds, returns and tabs before it blanked and the line feeds counted; and
// the first zero unit and the first "<" from there as FindUnit finds them.
TEST(XmlScan, FindTagMarkMatchesTheUnitLoop) {
  using namespace std::string_literals;
  const std::u16string alphabet = u"<>=;?\n\r\t\b\v\f\x1f !\u013c\u3c3e\uff3c\u0a0d\u020a\u0000\uffff"s;
  std::mt19937 rng(5u);
  for (int round = 0; round < 20000; ++round) {
    std::u16string text(rng() % 41, u'a');
    for (char16_t& c : text) c = alphabet[rng() % alphabet.size()];
    const size_t from = text.empty() ? 0 : rng() % text.size();

    size_t zero = from;
    while (zero < text.size() && text[zero] != 0) ++zero;
    ASSERT_EQ(FindUnit(text.data() + from, text.data() + text.size(), 0), text.data() + zero) << round;
    ASSERT_EQ(FindUnit(text, u'<', from), text.find(u'<', from)) << round;

    std::u16string expected = text;
    LineCount expectedLines{3, 7};
    size_t mark = from;
    for (; mark < text.size() && text[mark] != u'<' && text[mark] != u'>'; ++mark) {
      const char16_t c = text[mark];
      if (c == u'\n') expectedLines = {expectedLines.line + 1, 100 + mark + 1};
      if (c == u'\n' || c == u'\r' || c == u'\t') expected[mark] = u' ';
    }
    LineCount lines{3, 7};
    const char16_t* found =
        FindTagMark(text.data() + from, text.data() + text.size(), text.data(), 100, lines);
    ASSERT_EQ(static_cast<size_t>(found - text.data()), mark) << round;
    ASSERT_EQ(text, expected) << round;
    ASSERT_EQ(lines.line, expectedLines.line) << round;
    ASSERT_EQ(lines.lineStart, expectedLines.lineStart) << round;
  }
}

}  // namespace
}  // namespace tavrel::xml
