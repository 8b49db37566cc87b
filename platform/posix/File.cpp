#include "platform/File.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ErrorCodes.h"
#include "platform/TempName.h"
#include "platform/Text.h"
#include "platform/posix/Handles.h"
#include "platform/posix/NativePath.h"

namespace tavrel::platform {

namespace {

void FailWith(int err, const std::string& nativePath) {
  SetLastError(posix::WindowsErrorFromErrno(err, nativePath));
}

// A file without any write bit stands in for the read-only attribute, which
// Windows honours even for administrators.
bool IsReadOnly(const struct stat& st) { return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

}  // namespace

File File::Open(std::u16string_view path, FileAccess access, unsigned share, FileDisposition disposition) {
  const std::string native = posix::NativePath(path);
  struct stat st {};
  const bool exists = ::stat(native.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    SetLastError(kErrorAccessDenied);
    return File();
  }
  if (exists && access == FileAccess::ReadWrite && IsReadOnly(st)) {
    SetLastError(kErrorAccessDenied);
    return File();
  }
  int flags = O_CLOEXEC | (access == FileAccess::Read ? O_RDONLY : O_RDWR);
  if (disposition == FileDisposition::CreateAlways) flags |= O_CREAT;
  posix::Descriptor fd(::open(native.c_str(), flags, 0666));
  if (!fd) {
    FailWith(errno, native);
    return File();
  }
  // Sharing: an opener that shares nothing locks others out entirely; every
  // other opener only keeps exclusive openers (and replacement) away.
  const int lockMode = share == kShareNone ? LOCK_EX : LOCK_SH;
  if (::flock(fd.Get(), lockMode | LOCK_NB) != 0) {
    SetLastError(kErrorSharingViolation);
    return File();
  }
  if (disposition == FileDisposition::CreateAlways && ::ftruncate(fd.Get(), 0) != 0) {
    FailWith(errno, native);
    return File();
  }
  SetLastError(kErrorSuccess);
  return File(fd.Release());
}

std::optional<uint64_t> File::Size() const {
  struct stat st {};
  if (!IsOpen() || ::fstat(static_cast<int>(Raw()), &st) != 0 || st.st_size < 0) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

bool File::Read(void* buffer, uint32_t count, uint32_t* done) {
  *done = 0;
  if (!IsOpen()) return false;
  auto* out = static_cast<char*>(buffer);
  while (*done < count) {
    const ssize_t n = ::read(static_cast<int>(Raw()), out + *done, count - *done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      FailWith(errno, {});
      return false;
    }
    if (n == 0) break;
    *done += static_cast<uint32_t>(n);
  }
  return true;
}

bool File::Write(const void* data, uint32_t count, uint32_t* done) {
  *done = 0;
  if (!IsOpen()) return false;
  const auto* in = static_cast<const char*>(data);
  while (*done < count) {
    const ssize_t n = ::write(static_cast<int>(Raw()), in + *done, count - *done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      FailWith(n < 0 ? errno : ENOSPC, {});
      return false;
    }
    *done += static_cast<uint32_t>(n);
  }
  return true;
}

bool File::Flush() { return IsOpen() && ::fsync(static_cast<int>(Raw())) == 0; }

void FileHandleTraits::Close(intptr_t handle) { ::close(static_cast<int>(handle)); }

int Access(std::u16string_view path, int mode) {
  const std::string native = posix::NativePath(path);
  struct stat st {};
  if (::stat(native.c_str(), &st) != 0) {
    FailWith(errno, native);
    return -1;
  }
  if ((mode & kAccessWrite) != 0 && IsReadOnly(st)) return -1;
  return 0;
}

bool IsFolder(std::u16string_view path) {
  struct stat st {};
  return ::stat(posix::NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int Chmod(std::u16string_view path, int mode) {
  const std::string native = posix::NativePath(path);
  struct stat st {};
  if (::stat(native.c_str(), &st) != 0) {
    FailWith(errno, native);
    return -1;
  }
  mode_t bits = st.st_mode & 07777;
  if ((mode & kModeWrite) != 0) {
    bits |= S_IWUSR;
  } else {
    bits &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
  }
  if (::chmod(native.c_str(), bits) != 0) {
    FailWith(errno, native);
    return -1;
  }
  return 0;
}

bool RemoveFile(std::u16string_view path) {
  const std::string native = posix::NativePath(path);
  if (::unlink(native.c_str()) != 0) {
    FailWith(errno, native);
    return false;
  }
  return true;
}

namespace {

// The file a path names once links at its end are followed, found from the
// links themselves, so a link whose file is missing names the file it
// would make. A path that is no link is given back as it is.
std::string LinkedFile(std::string path) {
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string next(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(path.c_str(), next.data(), next.size());
    if (n <= 0 || static_cast<size_t>(n) >= next.size()) return path;
    next.resize(static_cast<size_t>(n));
    if (next.front() != '/') {
      const auto slash = path.find_last_of('/');
      if (slash != std::string::npos) next.insert(0, path, 0, slash + 1);
    }
    path = std::move(next);
  }
  return path;
}

// Removes the temporary files of `target` that no live save holds locked.
void RemoveStaleTemps(const std::string& target) {
  const auto slash = target.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  const posix::DirectoryStream dir(::opendir(folder.c_str()));
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir.Get())) {
    const std::string_view entryName = entry->d_name;
    if (!IsTempNameOf<char>(name, entryName)) continue;
    const std::string path = folder + "/" + std::string(entryName);
    const posix::Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (!fd) continue;
    struct stat held {
    }, named{};
    // Locked: a live save writes it. Else removed, if the name still is
    // this file.
    if (::fstat(fd.Get(), &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0 &&
        ::stat(path.c_str(), &named) == 0 && named.st_ino == held.st_ino && named.st_dev == held.st_dev) {
      ::unlink(path.c_str());
    }
  }
}

}  // namespace

File CreateTempBeside(std::u16string_view target, std::u16string* tempPath) {
  // A target that is a link keeps being one: the temporary file goes beside
  // the file it names, which the replace then takes.
  const std::string given = posix::NativePath(target);
  const std::string file = LinkedFile(given);
  std::u16string pattern = file == given ? std::u16string(target) : text::FromUtf8(file);
  pattern += text::FromAscii(kTempMarker);
  pattern.append(kTempUniqueLength, u'X');
  RemoveStaleTemps(file);
  for (int attempt = 0;; ++attempt) {
    std::string native = posix::NativePath(pattern);
    posix::Descriptor fd(::mkstemp(native.data()));
    if (!fd) {
      FailWith(errno, native);
      return File();
    }
    ::fcntl(fd.Get(), F_SETFD, FD_CLOEXEC);
    ::flock(fd.Get(), LOCK_EX | LOCK_NB);
    // Another save's clean-up may have taken the name between mkstemp and
    // the lock: then the file is gone and another name is tried.
    struct stat held {
    }, named{};
    if (::fstat(fd.Get(), &held) != 0 || ::stat(native.c_str(), &named) != 0 || named.st_ino != held.st_ino) {
      if (attempt < 16) continue;
      SetLastError(kErrorAccessDenied);
      return File();
    }
    // A new file gets the usual permissions, not mkstemp's private ones.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd.Get(), 0666 & ~mask);
    // mkstemp only rewrote the X's, so the caller's spelling of the folder
    // (backslashes included) is kept.
    tempPath->assign(pattern.substr(0, pattern.size() - kTempUniqueLength));
    for (size_t i = native.size() - kTempUniqueLength; i < native.size(); ++i)
      tempPath->push_back(static_cast<char16_t>(native[i]));
    return File(fd.Release());
  }
}

bool ReplaceFileAtomically(std::u16string_view source, std::u16string_view target) {
  const std::string from = posix::NativePath(source);
  // A link at the target stays: the file it names is replaced.
  const std::string to = LinkedFile(posix::NativePath(target));
  // Like MoveFileExW, replacing never overrides a read-only target.
  struct stat st {};
  if (::stat(to.c_str(), &st) == 0 && IsReadOnly(st)) {
    SetLastError(kErrorAccessDenied);
    return false;
  }
  if (const posix::Descriptor held(::open(to.c_str(), O_RDONLY | O_CLOEXEC)); held) {
    if (::flock(held.Get(), LOCK_EX | LOCK_NB) != 0) {
      SetLastError(kErrorSharingViolation);
      return false;
    }
  }
  // The new data is on the disk before any name leads to it. Either access
  // serves fsync; a umask may have left the new file only one of them.
  posix::Descriptor data(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (!data && errno == EACCES) data.Reset(::open(from.c_str(), O_WRONLY | O_CLOEXEC));
  if (!data || ::fsync(data.Get()) != 0) {
    FailWith(errno, from);
    return false;
  }
  // The replacement keeps the permissions the target had.
  if (::stat(to.c_str(), &st) == 0) ::chmod(from.c_str(), st.st_mode & 07777);
  if (::rename(from.c_str(), to.c_str()) != 0) {
    FailWith(errno, to);
    return false;
  }
  // The rename itself reaches the disk with the folder. The target is
  // replaced by now, so a failure here is not reported.
  const auto slash = to.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : to.substr(0, slash));
  if (const posix::Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir) {
    ::fsync(dir.Get());
  }
  return true;
}

}  // namespace tavrel::platform
