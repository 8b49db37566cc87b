#include "platform/LastError.h"

#include <windows.h>

#include <string>

#include "platform/Com.h"
#include "platform/ErrorText.h"
#include "platform/Text.h"

namespace tavrel::platform {

// The named codes are the system's own.
static_assert(kErrorSuccess == ERROR_SUCCESS);
static_assert(kErrorFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(kErrorPathNotFound == ERROR_PATH_NOT_FOUND);
static_assert(kErrorAccessDenied == ERROR_ACCESS_DENIED);
static_assert(kErrorInvalidHandle == ERROR_INVALID_HANDLE);
static_assert(kErrorNotEnoughMemory == ERROR_NOT_ENOUGH_MEMORY);
static_assert(kErrorGenFailure == ERROR_GEN_FAILURE);
static_assert(kErrorSharingViolation == ERROR_SHARING_VIOLATION);
static_assert(kErrorLockViolation == ERROR_LOCK_VIOLATION);
static_assert(kErrorFileExists == ERROR_FILE_EXISTS);
static_assert(kErrorDiskFull == ERROR_DISK_FULL);
static_assert(kErrorInvalidName == ERROR_INVALID_NAME);
static_assert(kErrorBadExeFormat == ERROR_BAD_EXE_FORMAT);
static_assert(kErrorFilenameTooLong == ERROR_FILENAME_EXCED_RANGE);
static_assert(kErrorMoreData == ERROR_MORE_DATA);
static_assert(HResultFromWin32(kErrorPathNotFound) == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));

uint32_t LastError() { return ::GetLastError(); }
void SetLastError(uint32_t code) { ::SetLastError(code); }

std::string SystemErrorMessage(uint32_t code) {
  wchar_t buffer[512] = {};
  const DWORD length =
      ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                       static_cast<DWORD>(sizeof buffer / sizeof buffer[0]), nullptr);
  std::u16string message(reinterpret_cast<const char16_t*>(buffer), length);
  while (!message.empty() && (message.back() == u'\r' || message.back() == u'\n' || message.back() == u' ' ||
                              message.back() == u'.')) {
    message.pop_back();
  }
  if (message.empty()) return "error " + std::to_string(code);
  return text::ToUtf8(message);
}

}  // namespace tavrel::platform
