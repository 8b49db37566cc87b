// The Windows error codes (GetLastError, registry results) the platform
// layer gives, in one table. Everything else is generated from it: the named
// constants below, the Windows build's checks that each is the system's own
// value (win32/LastError.cpp), the POSIX layer's errno mapping
// (posix/NativePath.cpp) and the texts for a user (ErrorText). Adding a code
// is adding a row.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// X(Name, code, Windows constant, text, errno values...): the text is UTF-8
// for a user, lower case and without a final full stop. The errno values are
// those the POSIX layer reports as this code; an errno no row names is a
// device failure (GenFailure). The Windows constants and errno names are only
// spelled out in the build that has them.
#define TAVREL_ERROR_CODES(X)                                                                       \
  X(Success, 0, ERROR_SUCCESS, "no error")                                                          \
  X(FileNotFound, 2, ERROR_FILE_NOT_FOUND, "file not found", ENOENT)                                \
  X(PathNotFound, 3, ERROR_PATH_NOT_FOUND, "folder not found", ENOTDIR)                             \
  X(AccessDenied, 5, ERROR_ACCESS_DENIED, "access denied", EACCES, EPERM, EISDIR, EROFS)            \
  X(InvalidHandle, 6, ERROR_INVALID_HANDLE, "the handle is not valid", EBADF)                       \
  X(NotEnoughMemory, 8, ERROR_NOT_ENOUGH_MEMORY, "not enough memory", ENOMEM)                       \
  X(GenFailure, 31, ERROR_GEN_FAILURE, "the device does not work")                                  \
  X(SharingViolation, 32, ERROR_SHARING_VIOLATION, "in use by another program", EWOULDBLOCK, EBUSY) \
  X(LockViolation, 33, ERROR_LOCK_VIOLATION, "part of the file is locked by another program")       \
  X(FileExists, 80, ERROR_FILE_EXISTS, "the file exists", EEXIST)                                   \
  X(DiskFull, 112, ERROR_DISK_FULL, "the disk is full", ENOSPC)                                     \
  X(InvalidName, 123, ERROR_INVALID_NAME, "the name is not valid")                                  \
  X(BadExeFormat, 193, ERROR_BAD_EXE_FORMAT, "not a program", ENOEXEC)                              \
  X(FilenameTooLong, 206, ERROR_FILENAME_EXCED_RANGE, "the name is too long", ENAMETOOLONG)         \
  X(FileTooLarge, 223, ERROR_FILE_TOO_LARGE, "the file is too large", EFBIG)                        \
  X(MoreData, 234, ERROR_MORE_DATA, "more data is available")                                       \
  X(Directory, 267, ERROR_DIRECTORY, "the folder name is not valid")

namespace tavrel::platform {

#define TAVREL_ERROR_CONSTANT(name, code, windows, text, ...) constexpr uint32_t kError##name = code;
TAVREL_ERROR_CODES(TAVREL_ERROR_CONSTANT)
#undef TAVREL_ERROR_CONSTANT

struct ErrorCodeRow {
  std::string_view name;  // as in kError<name>
  uint32_t code;
  std::string_view text;
};

#define TAVREL_ERROR_ROW(name, code, windows, text, ...) ErrorCodeRow{#name, code, text},
inline constexpr std::array kErrorCodeRows = {TAVREL_ERROR_CODES(TAVREL_ERROR_ROW)};
#undef TAVREL_ERROR_ROW

// The row of a named code; nullptr for any other code.
constexpr const ErrorCodeRow* FindErrorCode(uint32_t code) {
  for (const ErrorCodeRow& row : kErrorCodeRows) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

// Every code has one row.
static_assert([] {
  for (size_t i = 0; i < kErrorCodeRows.size(); ++i) {
    if (FindErrorCode(kErrorCodeRows[i].code) != &kErrorCodeRows[i]) return false;
  }
  return true;
}());

}  // namespace tavrel::platform
