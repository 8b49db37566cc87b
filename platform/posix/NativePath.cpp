#include "platform/posix/NativePath.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/ErrorCodes.h"
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
      return kErrorSuccess;
    case ENOENT: {
      const auto slash = nativePath.find_last_of('/');
      if (slash == std::string::npos || slash == 0) return kErrorFileNotFound;
      struct stat st {};
      const std::string parent = nativePath.substr(0, slash);
      return (::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) ? kErrorFileNotFound
                                                                       : kErrorPathNotFound;
    }
    case ENOTDIR:
      return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return kErrorAccessDenied;
    case EEXIST:
      return kErrorFileExists;
    case EWOULDBLOCK:
    case EBUSY:
      return kErrorSharingViolation;
    case ENOSPC:
      return kErrorDiskFull;
    case ENAMETOOLONG:
      return kErrorFilenameTooLong;
    case ENOMEM:
      return kErrorNotEnoughMemory;
    default:
      return kErrorGenFailure;
  }
}

}  // namespace tavrel::platform::posix
