#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/File.h"
#include "platform/posix/NativePath.h"

namespace tavrel::platform {

PathEntry EntryAt(std::u16string_view path) {
  struct stat st {};
  if (::lstat(posix::NativePath(path).c_str(), &st) != 0) return PathEntry::Missing;
  if (S_ISLNK(st.st_mode)) return PathEntry::Link;
  return S_ISREG(st.st_mode) ? PathEntry::RegularFile : PathEntry::Other;
}

bool RemoveLink(std::u16string_view path) {
  const std::string native = posix::NativePath(path);
  struct stat st {};
  // unlink never follows a link; the check keeps it from removing a file.
  int err = 0;
  if (::lstat(native.c_str(), &st) != 0 || (S_ISLNK(st.st_mode) && ::unlink(native.c_str()) != 0)) {
    err = errno;
  } else if (!S_ISLNK(st.st_mode)) {
    err = EINVAL;
  }
  if (err != 0) SetLastError(posix::WindowsErrorFromErrno(err, native));
  return err == 0;
}

}  // namespace tavrel::platform
