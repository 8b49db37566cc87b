#include "platform/posix/NativePath.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/Text.h"

namespace tavrel::platform::posix {

std::string NativePath(std::u16string_view path) {
  std::string native = text::ToUtf8(path);
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

uint32_t WindowsErrorFromErrno(int err, const std::string& nativePath) {
  switch (err) {
    case 0:
      return 0;
    case ENOENT: {
      const auto slash = nativePath.find_last_of('/');
      if (slash == std::string::npos || slash == 0) return 2;
      struct stat st {};
      const std::string parent = nativePath.substr(0, slash);
      return (::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) ? 2 : 3;
    }
    case ENOTDIR:
      return 3;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return 5;
    case EEXIST:
      return 80;
    case EWOULDBLOCK:
    case EBUSY:
      return 32;
    case ENOSPC:
      return 112;
    case ENAMETOOLONG:
      return 206;
    case ENOMEM:
      return 8;
    default:
      return 31;  // ERROR_GEN_FAILURE
  }
}

}  // namespace tavrel::platform::posix
