#include "platform/Path.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace tavrel::platform {

namespace {
bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
}  // namespace

bool IsAbsolutePath(std::u16string_view path) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == u':' && IsPathSeparator(path[2])) return true;
  return path.size() >= 3 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]) &&
         !IsPathSeparator(path[2]);
}

std::optional<std::u16string> ExpandEnvironment(std::u16string_view text) {
  const std::wstring source = win32::Wide(text);
  // The needed length, terminator included, may grow between the two calls
  // when another thread sets a variable: ask again until it fits.
  std::wstring expanded(source.size() + 1, L'\0');
  for (;;) {
    const DWORD needed =
        ::ExpandEnvironmentStringsW(source.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
    if (needed == 0) return std::nullopt;
    if (needed <= expanded.size()) {
      expanded.resize(needed - 1);
      return win32::FromWide(expanded);
    }
    expanded.assign(needed, L'\0');
  }
}

}  // namespace tavrel::platform
