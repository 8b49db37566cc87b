// Reading a profile file into UTF-16 text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "xml/ProfileEncoding.h"
#include "xml/ProfileResult.h"

namespace tavrel::xml {

// The largest profile file read: 128 MiB. A larger file is refused before
// anything is allocated for it, with the system code kErrorFileTooLarge
// ("the file is too large"), so a 32-bit host can always afford a read.
inline constexpr uint64_t kMaxProfileFileBytes = uint64_t{128} << 20;

struct FileText {
  std::u16string text;
  // Loaded; EmptyFile when the text is empty; or why the file could not be
  // opened or read (its system code kept).
  ProfileResult result;
  bool utf16 = false;  // read as UTF-16 (else the ANSI code page)
  bool mark = false;   // the file begins with FF FE
};

// The file read as ReadFileText reads it, with what came of it.
FileText ReadProfileFile(std::u16string_view fileName, ProfileEncoding mode);

// The decoded text of the file, or empty when it cannot be opened for
// reading, its size is 0, unobtainable or above kMaxProfileFileBytes, the read fails, or it
// decodes to nothing. The mark FF FE is skipped in every mode; UTF-16 is
// read when the mode is Utf16, or Auto (any other value) with the mark;
// otherwise the ANSI code page. Decoding stops at the first zero unit
// (UTF-16) or byte (ANSI).
std::u16string ReadFileText(std::u16string_view fileName, ProfileEncoding mode);

}  // namespace tavrel::xml
