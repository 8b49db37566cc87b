#include "platform/Console.h"

#include <windows.h>

#include "platform/Text.h"

namespace tavrel::platform {

bool WriteStd(StdStream stream, std::string_view utf8) {
  const HANDLE handle = ::GetStdHandle(stream == StdStream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return false;
  DWORD mode = 0;
  if (::GetConsoleMode(handle, &mode) != FALSE) {
    const std::u16string wide = text::FromUtf8(utf8);
    size_t done = 0;
    while (done < wide.size()) {
      // Consoles take a bounded number of units per call.
      const auto chunk = static_cast<DWORD>(wide.size() - done < 8192 ? wide.size() - done : 8192);
      DWORD written = 0;
      if (::WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(wide.data()) + done, chunk, &written,
                          nullptr) == FALSE ||
          written == 0) {
        return false;
      }
      done += written;
    }
    return true;
  }
  size_t done = 0;
  while (done < utf8.size()) {
    DWORD written = 0;
    if (::WriteFile(handle, utf8.data() + done, static_cast<DWORD>(utf8.size() - done), &written, nullptr) ==
            FALSE ||
        written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

bool IsPlatformHelpSwitch(std::u16string_view argument) { return argument == u"/?"; }

}  // namespace tavrel::platform
