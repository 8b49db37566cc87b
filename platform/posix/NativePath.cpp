#include "platform/posix/NativePath.h"

#include <sys/stat.h>

#include <cerrno>
#include <initializer_list>
#include <vector>

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

namespace {

struct ErrnoCode {
  int err;
  uint32_t code;
};

// One entry per errno value a row of the error table names.
#define TAVREL_ERRNO_ENTRIES(name, code, windows, text, ...) \
  for (int err : std::initializer_list<int>{__VA_ARGS__}) entries.push_back({err, code});

std::vector<ErrnoCode> MakeErrnoCodes() {
  std::vector<ErrnoCode> entries;
  TAVREL_ERROR_CODES(TAVREL_ERRNO_ENTRIES)
  return entries;
}
#undef TAVREL_ERRNO_ENTRIES

}  // namespace

uint32_t ErrorFromErrno(int err) {
  static const std::vector<ErrnoCode> codes = MakeErrnoCodes();
  if (err == 0) return kErrorSuccess;
  for (const ErrnoCode& entry : codes) {
    if (entry.err == err) return entry.code;
  }
  return kErrorGenFailure;
}

uint32_t WindowsErrorFromErrno(int err, const std::string& nativePath) {
  if (err != ENOENT) return ErrorFromErrno(err);
  // Windows tells a missing file from a missing folder on its way.
  const auto slash = nativePath.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return kErrorFileNotFound;
  struct stat st {};
  const std::string parent = nativePath.substr(0, slash);
  return (::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) ? kErrorFileNotFound : kErrorPathNotFound;
}

}  // namespace tavrel::platform::posix
