// Encoding mode of profile files, a 32-bit integer. Any other value reads
// as Auto and writes as UTF-16.
#pragma once

#include <cstdint>

namespace tavrel::xml {

enum class ProfileEncoding : int32_t {
  Auto = 0,   // reading: UTF-16 after the mark FF FE, else 8-bit; writing: UTF-16
  Ansi = 1,   // the system's 8-bit ANSI code page both ways
  Utf16 = 2,  // UTF-16 little-endian both ways
};

}  // namespace tavrel::xml
