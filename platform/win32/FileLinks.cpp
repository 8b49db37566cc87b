#include <windows.h>

#include <string>

#include "platform/File.h"
#include "platform/FinalPath.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Links.h"
#include "platform/win32/WideText.h"

namespace tavrel::platform {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opened for no data access: without following a link at the path's end
// where the system can tell one (FILE_FLAG_OPEN_REPARSE_POINT), or
// following it.
win32::FileHandle OpenEntry(const std::wstring& path, DWORD access, bool follow = false) {
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  return win32::FileHandle(
      ::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr));
}

std::wstring FinalPath(HANDLE entry, DWORD volumeName) {
  std::wstring final(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        ::GetFinalPathNameByHandleW(entry, final.data(), static_cast<DWORD>(final.size()), volumeName);
    if (n == 0) return {};
    if (n < final.size()) {
      final.resize(n);
      return final;
    }
    final.assign(n + 1, L'\0');
  }
}

struct FinalPaths {
  std::wstring folder, file;
};

// The final paths of the folder (its links followed) and of the entry at
// the path's end (not followed), both with drive letters or, when either
// has none (a volume mounted only in a folder), both by volume GUID.
FinalPaths FinalPathsOf(const std::wstring& folder, const std::wstring& path) {
  const win32::FileHandle folderEntry = OpenEntry(folder, 0, true);
  const win32::FileHandle fileEntry = OpenEntry(path, 0);
  if (!folderEntry.IsValid() || !fileEntry.IsValid()) return {};
  FinalPaths paths{FinalPath(folderEntry.Get(), VOLUME_NAME_DOS),
                   FinalPath(fileEntry.Get(), VOLUME_NAME_DOS)};
  if (paths.folder.empty() || paths.file.empty())
    paths = {FinalPath(folderEntry.Get(), VOLUME_NAME_GUID), FinalPath(fileEntry.Get(), VOLUME_NAME_GUID)};
  return paths;
}

std::wstring FullPath(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0) return {};
    if (n < full.size()) {
      full.resize(n);
      return full;
    }
    full.assign(n + 1, L'\0');
  }
}

// A file that shows no reparse point but lies elsewhere than its folder
// and name say: a link the system follows without showing it as one (Wine
// shows a POSIX link to a file as the file itself). Links in the folders
// above do not count, nor a path whose final path cannot be told.
bool ReachedThroughHiddenLink(const std::wstring& path) {
  const std::wstring full = FullPath(path);
  const size_t slash = full.find_last_of(L"\\/");
  if (slash == std::wstring::npos || slash + 1 == full.size()) return false;
  const FinalPaths paths = FinalPathsOf(full.substr(0, slash + 1), full);
  return ReachedThroughLink(win32::FromWide(paths.folder), win32::FromWide(paths.file),
                            win32::FromWide(std::wstring_view(full).substr(slash + 1)));
}

// Called right after GetFileAttributesW failed on path: an entry that the
// attributes show as missing although the folder holds its name (Wine shows
// a POSIX link to a missing file so). A search for the exact name tells it
// from nothing there without making a file in its place: nothing of that
// name ends the search with ERROR_FILE_NOT_FOUND; a name whose entry cannot
// be looked at, with ERROR_NO_MORE_FILES. A failure other than "not found"
// (a share that is not there) is no hidden entry.
bool HiddenEntry(const std::wstring& path) {
  if (::GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  WIN32_FIND_DATAW found{};
  const win32::FindHandle search(::FindFirstFileW(path.c_str(), &found));
  return search.IsValid() || ::GetLastError() == ERROR_NO_MORE_FILES;
}

}  // namespace

// GetFileAttributesW does not follow a link at the path's end: a symbolic
// link, a junction or a mount point shows as a reparse point. Links in the
// folders above are the user's arrangement and do not count.
PathEntry EntryAt(std::u16string_view path) {
  const std::wstring wide = win32::Wide(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // The system shows a dangling link as a reparse point, Wine as nothing
    // there. What cannot be looked at for another reason (a share that is
    // not there) is left to the export, which reports its own failure.
    return HiddenEntry(wide) ? PathEntry::Link : PathEntry::Missing;
  }
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return PathEntry::Link;
  if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) return PathEntry::Other;
  return ReachedThroughHiddenLink(wide) ? PathEntry::Link : PathEntry::RegularFile;
}

// Removed through a handle to the link itself, so what is removed is what
// was checked. A system that opens the link's target even so (Wine) shows
// no reparse point on the handle: removing through it would remove the
// target, so it is refused (access denied), as is a link that cannot be
// removed.
bool RemoveLink(std::u16string_view path) {
  const win32::FileHandle entry = OpenEntry(win32::Wide(path), DELETE | FILE_READ_ATTRIBUTES);
  if (!entry.IsValid()) {
    // An entry that cannot be opened as itself (Wine's dangling link)
    // cannot be removed.
    if (::GetLastError() == ERROR_FILE_NOT_FOUND) ::SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
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

namespace win32 {

std::optional<std::wstring> LinkedFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return HiddenEntry(path) ? std::nullopt : std::optional(path);
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && !ReachedThroughHiddenLink(path)) return path;
  const FileHandle file = OpenEntry(path, 0, true);
  if (!file.IsValid()) return std::nullopt;
  std::wstring final = FinalPath(file.Get(), VOLUME_NAME_DOS);
  if (final.empty()) final = FinalPath(file.Get(), VOLUME_NAME_GUID);
  if (final.empty()) return std::nullopt;
  return final;
}

std::wstring LongForm(const std::wstring& path, size_t room) {
  if (path.size() + room < MAX_PATH || path.starts_with(L"\\\\?\\")) return path;
  const std::wstring full = FullPath(path);
  if (full.empty()) return path;
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

}  // namespace win32

}  // namespace tavrel::platform
