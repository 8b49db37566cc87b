// Conversion between UTF-16 and the system's 8-bit ANSI code page
// (MultiByteToWideChar / WideCharToMultiByte with CP_ACP on Windows; the
// POSIX build stands in Windows-1252 through iconv).
#pragma once

#include <string>
#include <string_view>

namespace tavrel::platform {

// Converts 8-bit text of the ANSI code page; every byte gives one unit.
std::u16string AnsiToUtf16(std::string_view bytes);

// Converts to the ANSI code page; a unit the code page cannot hold becomes
// the code page's default character.
std::string Utf16ToAnsi(std::u16string_view text);

}  // namespace tavrel::platform
