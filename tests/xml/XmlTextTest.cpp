#include <gtest/gtest.h>

#include "xml/XmlText.h"

namespace tavrel::xml {
namespace {

TEST(XmlText, TrimUsesTheWindowsSpaceTest) {
  // No-break space and ideographic space count as white space; a zero-width
  // space and the letters around it do not.
  EXPECT_EQ(TrimView(u"\u00A0\u3000 a b \v\f"), u"a b");
  EXPECT_EQ(TrimView(u"\u200Bx\u200B"), u"\u200Bx\u200B");
  EXPECT_EQ(TrimView(u"   "), u"");
  EXPECT_EQ(TrimView(u"  x  "), u"x");
  EXPECT_EQ(TrimView(u"\tx\n"), u"x");
}

struct EntityCase {
  std::u16string_view stored;
  std::u16string_view decoded;
};

TEST(XmlEntities, DecodeInOnePass) {
  const EntityCase cases[] = {
      {u"a&amp;b", u"a&b"},
      {u"&quot;&lt;&gt;", u"\"<>"},
      {u"&amp;lt;", u"&lt;"},  // decoded text is not looked at again
      {u"&amp;amp;", u"&amp;"},
      {u"&#65;&apos;", u"&#65;&apos;"},  // only the four named entities
      {u"&", u"&"},
      {u"&am", u"&am"},
      {u"&&lt;", u"&<"},
      {u"&lt", u"&lt"},
      {u"", u""},
  };
  for (const EntityCase& c : cases) {
    EXPECT_EQ(DecodeEntities(c.stored), c.decoded) << testing::PrintToString(std::u16string(c.stored));
  }
}

TEST(XmlEntities, EscapeThenDecodeGivesTheText) {
  const std::u16string_view texts[] = {u"a&b<c>d\"e", u"&amp;lt;", u"&quot;", u"plain", u"x readonly=1"};
  for (std::u16string_view t : texts) {
    const std::u16string escaped = EscapeAttribute(t);
    EXPECT_EQ(escaped.find_first_of(u"<>\""), std::u16string::npos);
    EXPECT_EQ(DecodeEntities(escaped), t);
  }
  EXPECT_EQ(EscapeAttribute(u"<&>\""), u"&lt;&amp;&gt;&quot;");
}

}  // namespace
}  // namespace tavrel::xml
