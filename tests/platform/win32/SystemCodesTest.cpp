// The system's own message for every code of the error table, as a code
// without a row is shown: one line, no trailing full stop or line break (the
// values themselves are checked against <windows.h> where the table is
// compiled into the Windows layer; Wine lacks the message of some codes).
#include <gtest/gtest.h>

#include <string>

#include "platform/ErrorCodes.h"
#include "platform/LastError.h"

namespace tavrel::platform {
namespace {

TEST(SystemCodes, TheSystemsMessagesAreOneLine) {
  size_t known = 0;
  for (const ErrorCodeRow& row : kErrorCodeRows) {
    const std::string message = SystemErrorMessage(row.code);
    ASSERT_FALSE(message.empty()) << row.name;
    EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos) << row.name;
    EXPECT_NE(message.back(), '.') << row.name;
    if (message != "error " + std::to_string(row.code)) ++known;
  }
  // The file failures at least are the system's own.
  EXPECT_GE(known, kErrorCodeRows.size() / 2);
}

}  // namespace
}  // namespace tavrel::platform
