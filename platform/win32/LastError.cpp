#include "platform/LastError.h"

#include <windows.h>

#include <string>

#include "platform/Com.h"
#include "platform/Text.h"
#include "platform/win32/WideText.h"

namespace tavrel::platform {

// The named codes are the system's own.
#define TAVREL_CHECK_ERROR_CODE(name, code, windows, text, ...) \
  static_assert(kError##name == (windows), "kError" #name " is not " #windows);
TAVREL_ERROR_CODES(TAVREL_CHECK_ERROR_CODE)
#undef TAVREL_CHECK_ERROR_CODE
static_assert(HResultFromWin32(kErrorPathNotFound) == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));

uint32_t LastError() { return ::GetLastError(); }
void SetLastError(uint32_t code) { ::SetLastError(code); }

std::string SystemErrorMessage(uint32_t code) {
  wchar_t buffer[512] = {};
  const DWORD length =
      ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                       static_cast<DWORD>(sizeof buffer / sizeof buffer[0]), nullptr);
  std::u16string message = win32::FromWide(std::wstring_view(buffer, length));
  while (!message.empty() && (message.back() == u'\r' || message.back() == u'\n' || message.back() == u' ' ||
                              message.back() == u'.')) {
    message.pop_back();
  }
  if (message.empty()) return "error " + std::to_string(code);
  return text::ToUtf8(message);
}

}  // namespace tavrel::platform
