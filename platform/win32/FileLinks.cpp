#include <windows.h>

#include <string>

#include "platform/File.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace tavrel::platform {

namespace {

// Opened without following a link at the path's end where the system can
// tell one (FILE_FLAG_OPEN_REPARSE_POINT), for no data access.
win32::FileHandle OpenEntry(const std::wstring& path, DWORD access) {
  return win32::FileHandle(
      ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

std::wstring FinalPath(const std::wstring& path) {
  const win32::FileHandle entry = OpenEntry(path, 0);
  if (!entry.IsValid()) return {};
  std::wstring final(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        ::GetFinalPathNameByHandleW(entry.Get(), final.data(), static_cast<DWORD>(final.size()), 0);
    if (n == 0) return {};
    if (n < final.size()) {
      final.resize(n);
      return final;
    }
    final.assign(n, L'\0');
  }
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

// Whether the file the path reaches lies in the folder the path names under
// the name it gives: not so when the last step is a link that the system
// follows without showing it as one (Wine shows a POSIX link to a file as
// the file itself). Links in the folders above do not count. False when it
// cannot be told.
bool ReachedDirectly(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  const DWORD n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (n == 0 || n >= full.size()) return false;
  full.resize(n);
  const size_t slash = full.find_last_of(L"\\/");
  if (slash == std::wstring::npos || slash + 1 == full.size()) return false;
  std::wstring folder = FinalPath(full.substr(0, slash + 1));
  const std::wstring file = FinalPath(full);
  if (folder.empty() || file.empty()) return false;
  if (folder.back() != L'\\') folder += L'\\';
  return SameName(file, folder + full.substr(slash + 1));
}

}  // namespace

// GetFileAttributesW does not follow a link at the path's end: a symbolic
// link or a junction shows as a reparse point.
PathEntry EntryAt(std::u16string_view path) {
  const std::wstring wide = win32::Wide(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathEntry::Missing;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return PathEntry::Link;
  if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) return PathEntry::Other;
  return ReachedDirectly(wide) ? PathEntry::RegularFile : PathEntry::Link;
}

// Removed through a handle to the link itself, so what is removed is what
// was checked. A system that opens the link's target even so (Wine) shows
// no reparse point on the handle: removing through it would remove the
// target, so it is refused (access denied), as is a link that cannot be
// removed.
bool RemoveLink(std::u16string_view path) {
  const win32::FileHandle entry = OpenEntry(win32::Wide(path), DELETE | FILE_READ_ATTRIBUTES);
  if (!entry.IsValid()) return false;
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (!::GetFileInformationByHandleEx(entry.Get(), FileAttributeTagInfo, &tag, sizeof(tag))) return false;
  if ((tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  return ::SetFileInformationByHandle(entry.Get(), FileDispositionInfo, &disposition, sizeof(disposition)) !=
         0;
}

}  // namespace tavrel::platform
