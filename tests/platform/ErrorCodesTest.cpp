// Every row of the error table, in every build: the named code, its text,
// the round trip through the thread's last error.
#include <gtest/gtest.h>

#include <set>

#include "platform/ErrorCodes.h"
#include "platform/ErrorText.h"
#include "platform/LastError.h"

namespace tavrel::platform {
namespace {

TEST(ErrorCodes, EveryRowHasItsTextAndRoundTrips) {
  std::set<std::string_view> names;
  for (const ErrorCodeRow& row : kErrorCodeRows) {
    SCOPED_TRACE(std::string(row.name));
    EXPECT_TRUE(names.insert(row.name).second) << "name twice";
    ASSERT_FALSE(row.text.empty());
    EXPECT_NE(row.text.back(), '.');
    EXPECT_FALSE(row.text.front() >= 'A' && row.text.front() <= 'Z') << row.text;
    EXPECT_EQ(ErrorText(row.code), row.text);
    SetLastError(row.code);
    EXPECT_EQ(LastError(), row.code);
  }
  SetLastError(kErrorSuccess);
}

TEST(ErrorCodes, NamedConstantsAreTheRows) {
  EXPECT_EQ(FindErrorCode(kErrorAccessDenied)->name, "AccessDenied");
  EXPECT_EQ(FindErrorCode(kErrorSharingViolation)->text, "in use by another program");
  EXPECT_EQ(kErrorFileNotFound, 2U);
  EXPECT_EQ(kErrorFilenameTooLong, 206U);
  EXPECT_EQ(FindErrorCode(99999), nullptr);
}

// A code without a row takes the system's message, never an empty one.
TEST(ErrorCodes, CodesWithoutARowStillSaySomething) {
  EXPECT_FALSE(ErrorText(99999).empty());
  EXPECT_NE(ErrorText(99999).back(), '.');
}

}  // namespace
}  // namespace tavrel::platform
