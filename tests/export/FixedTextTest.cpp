// Fixed-capacity texts: nothing is ever written past the buffer.
#include "export/FixedText.h"

#include <gtest/gtest.h>

namespace tavrel::exporting {
namespace {

TEST(FixedText, CopyAppendAndFormatWithinCapacity) {
  FixedText<32> t;
  EXPECT_TRUE(t.Assign(u"abc"));
  EXPECT_TRUE(t.Append(u"def"));
  EXPECT_TRUE(t.AppendFormat(u" error: %d!", -2147483647 - 1));
  EXPECT_EQ(t.View(), u"abcdef error: -2147483648!");
  EXPECT_EQ(std::u16string_view(t.CStr()), t.View());
  EXPECT_TRUE(t.Format(u"%d", 2));
  EXPECT_EQ(t.View(), u"2");
  EXPECT_TRUE(t.Format(u"no number", 2));
  EXPECT_EQ(t.View(), u"no number");
}

TEST(FixedText, CutsAtTheCapacityAndSaysSo) {
  FixedText<5> t;  // four units and the NUL
  EXPECT_FALSE(t.Assign(u"abcdef"));
  EXPECT_EQ(t.View(), u"abcd");
  EXPECT_EQ(t.CStr()[4], u'\0');
  EXPECT_FALSE(t.Append(u"x"));
  EXPECT_EQ(t.Size(), 4u);
  EXPECT_TRUE(t.Assign(u"ab"));
  EXPECT_FALSE(t.AppendFormat(u"%d", 12345));
  EXPECT_EQ(t.View(), u"ab12");
  EXPECT_FALSE(t.Format(u"x%dyyy", 7));
  EXPECT_EQ(t.View(), u"x7yy");
}

// The bound the send's compile-time capacity checks count on.
TEST(FixedText, MaxFormattedLengthIsTheLongestNumber) {
  for (const std::u16string_view pattern : {u"%d", u" returned with error: %d", u"none"}) {
    FixedText<64> t;
    ASSERT_TRUE(t.Format(pattern, INT32_MIN));
    EXPECT_EQ(t.Size(), MaxFormattedLength(pattern));
  }
}

}  // namespace
}  // namespace tavrel::exporting
