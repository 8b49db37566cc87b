// UTF-16 text (char16_t) as the Windows API's wide text (wchar_t) and back,
// for the Win32 layer, the Windows-only tools and the tests. Both hold the
// same UTF-16 units, so each function copies unit by unit and re-encodes
// nothing; UTF-8 is platform/Text.h's job.
#pragma once

#include <string>
#include <string_view>

namespace tavrel::platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wchar_t holds one UTF-16 unit");

// A NUL-terminated copy for the API (string_views need not end in NUL).
inline std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

// The API's text as UTF-16.
inline std::u16string FromWide(std::wstring_view s) { return std::u16string(s.begin(), s.end()); }
// The same for a NUL-terminated text; a null pointer gives empty text.
inline std::u16string FromWide(const wchar_t* s) {
  return s == nullptr ? std::u16string() : FromWide(std::wstring_view(s));
}

}  // namespace tavrel::platform::win32
