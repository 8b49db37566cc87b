#include <gtest/gtest.h>

#include <random>
#include <string>

#include "xml/XmlScan.h"

namespace tavrel::xml {
namespace {

// Random texts of every length up to 40 over units next to the ones looked
// for (so a unit off by one or a borrow between units shows), each unit at
// every position of the 64-bit words, against the plain loops.
TEST(XmlScan, WordSearchesMatchTheUnitLoops) {
  using namespace std::string_literals;
  const std::u16string alphabet = u"<>=;?\n\r\t\b\v\x1f !\u013c\u3c3e\uff3c\u0a0d\u0009\u0000\uffff"s;
  std::mt19937 rng(5u);
  for (int round = 0; round < 20000; ++round) {
    std::u16string text(rng() % 41, u'a');
    for (char16_t& c : text) c = alphabet[rng() % alphabet.size()];
    const size_t from = text.empty() ? 0 : rng() % text.size();

    size_t expected = from;
    while (expected < text.size() && text[expected] != u'<' && text[expected] != u'>') ++expected;
    const char16_t* found = FindTagMark(text.data() + from, text.data() + text.size());
    ASSERT_EQ(static_cast<size_t>(found - text.data()), expected) << round;

    size_t zero = from;
    while (zero < text.size() && text[zero] != 0) ++zero;
    const char16_t* foundZero = FindZeroUnit(text.data() + from, text.data() + text.size());
    ASSERT_EQ(static_cast<size_t>(foundZero - text.data()), zero) << round;

    std::u16string blanked = text;
    for (char16_t& c : blanked) c = c == u'\n' || c == u'\r' || c == u'\t' ? u' ' : c;
    std::u16string copied(text.size(), u'x');
    CopyBlankingLineBreaks(text.data(), text.size(), copied.data());
    ASSERT_EQ(copied, blanked) << round;
    CopyBlankingLineBreaks(text.data(), text.size(), text.data());
    ASSERT_EQ(text, blanked) << round;
  }
}

}  // namespace
}  // namespace tavrel::xml
