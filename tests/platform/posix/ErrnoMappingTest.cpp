// The POSIX layer reports every errno value a row of the error table names
// as that row's code, and any other as a device failure.
#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "platform/ErrorCodes.h"
#include "platform/posix/NativePath.h"

namespace tavrel::platform::posix {
namespace {

struct RowErrnos {
  const char* name;
  uint32_t code;
  std::vector<int> errnos;
};

#define TAVREL_ROW_ERRNOS(name, code, windows, text, ...) RowErrnos{#name, code, {__VA_ARGS__}},
const RowErrnos kRows[] = {TAVREL_ERROR_CODES(TAVREL_ROW_ERRNOS)};
#undef TAVREL_ROW_ERRNOS

TEST(ErrnoMapping, EveryNamedErrnoGivesItsRowsCode) {
  size_t named = 0;
  for (const RowErrnos& row : kRows) {
    for (int err : row.errnos) {
      EXPECT_EQ(ErrorFromErrno(err), row.code) << row.name << " errno " << err;
      ++named;
    }
  }
  EXPECT_GE(named, 10U);
}

TEST(ErrnoMapping, OtherValuesAreADeviceFailure) {
  EXPECT_EQ(ErrorFromErrno(0), kErrorSuccess);
  for (int err : {EIO, EINVAL, EXDEV, EMLINK}) EXPECT_EQ(ErrorFromErrno(err), kErrorGenFailure) << err;
}

// Windows tells a missing file (2) from a file in a missing folder (3).
TEST(ErrnoMapping, MissingFileOrFolder) {
  EXPECT_EQ(WindowsErrorFromErrno(ENOENT, "/tmp/no-such-file-here"), kErrorFileNotFound);
  EXPECT_EQ(WindowsErrorFromErrno(ENOENT, "/tmp/no-such-folder-here/x"), kErrorPathNotFound);
  EXPECT_EQ(WindowsErrorFromErrno(ENOENT, "relative"), kErrorFileNotFound);
  EXPECT_EQ(WindowsErrorFromErrno(EACCES, "/tmp/x"), kErrorAccessDenied);
}

}  // namespace
}  // namespace tavrel::platform::posix
