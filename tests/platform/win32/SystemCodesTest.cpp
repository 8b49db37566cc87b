// The system knows every code of the error table by its own message (the
// values themselves are checked against <windows.h> where the table is
// compiled into the Windows layer).
#include <gtest/gtest.h>

#include <string>

#include "platform/ErrorCodes.h"
#include "platform/ErrorText.h"

namespace tavrel::platform {
namespace {

TEST(SystemCodes, TheSystemHasAMessageForEveryRow) {
  for (const ErrorCodeRow& row : kErrorCodeRows) {
    const std::string message = SystemErrorMessage(row.code);
    EXPECT_FALSE(message.empty()) << row.name;
    EXPECT_NE(message, "error " + std::to_string(row.code)) << row.name;
  }
}

}  // namespace
}  // namespace tavrel::platform
