// Internal to the Win32 platform layer: UTF-16 text as the API's wchar_t.
#pragma once

#include <string>
#include <string_view>

namespace tavrel::platform::win32 {

// A NUL-terminated copy of the text for the API (string_views need not end in NUL).
inline std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

inline std::u16string FromWide(const wchar_t* s) {
  return s == nullptr ? std::u16string() : std::u16string(reinterpret_cast<const char16_t*>(s));
}

}  // namespace tavrel::platform::win32
