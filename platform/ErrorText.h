// System error codes in words for a user. The codes are the Windows ones,
// which the POSIX layer maps errno to, so both builds say the same.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrel::platform {

// UTF-8 text without a final full stop, such as "file not found"; codes
// outside the common file failures take the system's own message.
std::string ErrorText(uint32_t code);

// Why opening, writing or replacing `path` failed with `code`: ErrorText,
// made precise where Windows gives one code for several causes (access is
// denied to a folder and to a read-only file alike).
std::string FileErrorText(std::u16string_view path, uint32_t code);

// The system's message for a code (FormatMessageW on Windows; "error N"
// where the system has none), without trailing punctuation.
std::string SystemErrorMessage(uint32_t code);

}  // namespace tavrel::platform
