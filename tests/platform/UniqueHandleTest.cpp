// The one handle owner: each handle closed exactly once, on every path; the
// traits' "none" values never closed.
#include <gtest/gtest.h>

#include <vector>

#include "platform/UniqueHandle.h"

namespace tavrel::platform {
namespace {

std::vector<int> g_closed;
void Close(int handle) { g_closed.push_back(handle); }
constexpr int MinusOne() { return -1; }

using Descriptorish = UniqueHandle<InvalidValueTraits<int, &Close, &MinusOne>>;
using Nullish = UniqueHandle<NullHandleTraits<int, &Close>>;

TEST(UniqueHandle, ClosesEachHandleOnce) {
  g_closed.clear();
  {
    Descriptorish a(5);
    Descriptorish b(std::move(a));
    EXPECT_FALSE(a);  // NOLINT(bugprone-use-after-move): a moved-from owner is empty
    EXPECT_EQ(b.Get(), 5);
    Descriptorish c(7);
    c = std::move(b);  // 7 closed, 5 moves on
    EXPECT_EQ(g_closed, std::vector<int>{7});
    c.Reset(9);     // 5 closed
    *c.Put() = 11;  // 9 closed, 11 taken in
    EXPECT_EQ(c.Get(), 11);
  }  // 11 closed
  EXPECT_EQ(g_closed, (std::vector<int>{7, 5, 9, 11}));
}

TEST(UniqueHandle, NoneIsNeverClosedAndReleaseGivesUp) {
  g_closed.clear();
  {
    Descriptorish none(-1);
    EXPECT_FALSE(none.IsValid());
    Descriptorish zero(0);  // descriptor 0 is a handle
    EXPECT_TRUE(zero.IsValid());
    Nullish null(0);  // for null traits 0 is none
    EXPECT_FALSE(null);
    Nullish kept(3);
    EXPECT_EQ(kept.Release(), 3);
    EXPECT_FALSE(kept);
  }
  EXPECT_EQ(g_closed, std::vector<int>{0});
}

}  // namespace
}  // namespace tavrel::platform
