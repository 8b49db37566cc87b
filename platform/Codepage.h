// Conversion between UTF-16 and the system's 8-bit ANSI code page
// (MultiByteToWideChar / WideCharToMultiByte with CP_ACP on Windows; the
// POSIX build stands in Windows-1252 through iconv).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tavrel::platform {

// Converts 8-bit text of the ANSI code page; every byte gives one unit.
std::u16string AnsiToUtf16(std::string_view bytes);

// The unit of every byte when the ANSI code page has characters of one byte
// only; nullptr otherwise.
const std::array<char16_t, 256>* AnsiByteUnits();

// How many of `bytes`, from the first, make whole characters of a code page
// (0: the ANSI code page; the POSIX build knows Windows-1252 only, where
// every byte is one). `bytes` begins with a character; the rest, at most
// three bytes, begins one that goes on after them.
size_t WholeCharacters(std::string_view bytes, unsigned codePage = 0);

// Converts to the ANSI code page; a unit the code page cannot hold becomes
// the code page's default character.
std::string Utf16ToAnsi(std::u16string_view text);

}  // namespace tavrel::platform
