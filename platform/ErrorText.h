// System error codes in words for a user. The codes are the Windows ones,
// which the POSIX layer maps errno to, so both builds say the same.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrel::platform {

// UTF-8 text without a final full stop, such as "file not found": the text
// of the code's row in platform/ErrorCodes.h; a code without a row takes the
// system's own message.
std::string ErrorText(uint32_t code);

// What a failed open, write or replace of `path` met. Windows gives one code
// for several causes (access is denied to a folder and to a read-only file
// alike); the path tells them apart.
enum class FileFault { None, NotFound, AccessDenied, ReadOnly, IsFolder, InUse, Other };
FileFault ClassifyFileError(std::u16string_view path, uint32_t code);

// "is a folder" and "read-only" for those faults, else ErrorText(code).
std::string FileFaultText(FileFault fault, uint32_t code);

// Why opening, writing or replacing `path` failed with `code`: the text of
// its ClassifyFileError fault.
std::string FileErrorText(std::u16string_view path, uint32_t code);

}  // namespace tavrel::platform
