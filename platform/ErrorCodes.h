// The Windows error codes (GetLastError, registry results) the platform
// layer gives, named once. The POSIX layer maps errno to them; the Windows
// build checks each against the system's own value.
#pragma once

#include <cstdint>

namespace tavrel::platform {

constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorNotEnoughMemory = 8;
constexpr uint32_t kErrorGenFailure = 31;
constexpr uint32_t kErrorSharingViolation = 32;
constexpr uint32_t kErrorLockViolation = 33;
constexpr uint32_t kErrorFileExists = 80;
constexpr uint32_t kErrorDiskFull = 112;
constexpr uint32_t kErrorInvalidName = 123;
constexpr uint32_t kErrorBadExeFormat = 193;
constexpr uint32_t kErrorFilenameTooLong = 206;
constexpr uint32_t kErrorMoreData = 234;

}  // namespace tavrel::platform
