#include "platform/MessageBox.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace tavrel::platform {

int ShowMessageBox(std::u16string_view text, std::u16string_view caption, unsigned flags) {
  return ::MessageBoxW(nullptr, win32::Wide(text).c_str(), win32::Wide(caption).c_str(), flags);
}

}  // namespace tavrel::platform
