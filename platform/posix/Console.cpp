#include "platform/Console.h"

#include <cstdio>

namespace tavrel::platform {

bool WriteStd(StdStream stream, std::string_view utf8) {
  std::FILE* file = stream == StdStream::Out ? stdout : stderr;
  const size_t written = std::fwrite(utf8.data(), 1, utf8.size(), file);
  return std::fflush(file) == 0 && written == utf8.size();
}

bool IsPlatformHelpSwitch(std::u16string_view /*argument*/) { return false; }

}  // namespace tavrel::platform
