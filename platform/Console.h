// The standard streams of a command-line tool. Text is UTF-8; on a Windows
// console it is written as UTF-16 (WriteConsoleW) so every name shows right,
// and to a pipe or a file, on both platforms, as the UTF-8 bytes unchanged.
#pragma once

#include <string_view>

namespace tavrel::platform {

enum class StdStream { Out, Err };

// Writes the text and flushes; false when the stream refused it.
bool WriteStd(StdStream stream, std::string_view utf8);

// Whether the argument is the platform's own request for a program's usage
// ("/?" on Windows; none elsewhere, where "/?" is a path).
bool IsPlatformHelpSwitch(std::u16string_view argument);

}  // namespace tavrel::platform
