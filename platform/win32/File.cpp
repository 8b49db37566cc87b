#include "platform/File.h"

#include <io.h>
#include <windows.h>

#include "platform/win32/WidePath.h"

namespace tavrel::platform {

namespace {

HANDLE AsHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

// Windows refuses to write or replace a file with the read-only attribute
// whoever asks; Wine running as root would not, so the refusal is made here.
bool IsReadOnly(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring FolderOf(std::u16string_view path) {
  const auto cut = path.find_last_of(u"\\/");
  if (cut == std::u16string_view::npos) return L".";
  return win32::Wide(path.substr(0, cut == 0 ? 1 : cut));
}

}  // namespace

File File::Open(std::u16string_view path, FileAccess access, unsigned share, FileDisposition disposition) {
  DWORD shareMode = 0;
  if ((share & kShareRead) != 0) shareMode |= FILE_SHARE_READ;
  if ((share & kShareWrite) != 0) shareMode |= FILE_SHARE_WRITE;
  if ((share & kShareDelete) != 0) shareMode |= FILE_SHARE_DELETE;
  const DWORD rights = access == FileAccess::Read ? GENERIC_READ : (GENERIC_READ | GENERIC_WRITE);
  const DWORD how = disposition == FileDisposition::OpenExisting ? OPEN_EXISTING : CREATE_ALWAYS;
  const std::wstring wide = win32::Wide(path);
  if (access == FileAccess::ReadWrite && IsReadOnly(wide)) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return File();
  }
  HANDLE h = ::CreateFileW(wide.c_str(), rights, shareMode, nullptr, how, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return File();
  return File(reinterpret_cast<intptr_t>(h));
}

std::optional<uint32_t> File::Size() const {
  if (!IsOpen()) return std::nullopt;
  const DWORD size = ::GetFileSize(AsHandle(handle_), nullptr);
  if (size == INVALID_FILE_SIZE) return std::nullopt;
  return size;
}

bool File::Read(void* buffer, uint32_t count, uint32_t* done) {
  DWORD got = 0;
  const BOOL ok = IsOpen() && ::ReadFile(AsHandle(handle_), buffer, count, &got, nullptr);
  *done = got;
  return ok != FALSE;
}

bool File::Write(const void* data, uint32_t count, uint32_t* done) {
  DWORD put = 0;
  const BOOL ok = IsOpen() && ::WriteFile(AsHandle(handle_), data, count, &put, nullptr);
  *done = put;
  return ok != FALSE;
}

bool File::Flush() { return IsOpen() && ::FlushFileBuffers(AsHandle(handle_)) != FALSE; }

void File::Close() {
  if (IsOpen()) {
    ::CloseHandle(AsHandle(handle_));
    handle_ = kInvalid;
  }
}

int Access(std::u16string_view path, int mode) { return ::_waccess(win32::Wide(path).c_str(), mode); }

int Chmod(std::u16string_view path, int mode) { return ::_wchmod(win32::Wide(path).c_str(), mode); }

bool RemoveFile(std::u16string_view path) { return ::DeleteFileW(win32::Wide(path).c_str()) != FALSE; }

File CreateTempBeside(std::u16string_view target, std::u16string* tempPath) {
  wchar_t name[MAX_PATH + 1] = {};
  if (::GetTempFileNameW(FolderOf(target).c_str(), L"tvl", 0, name) == 0) return File();
  HANDLE h = ::CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    ::DeleteFileW(name);
    return File();
  }
  *tempPath = win32::FromWide(name);
  return File(reinterpret_cast<intptr_t>(h));
}

bool ReplaceFileAtomically(std::u16string_view source, std::u16string_view target) {
  const std::wstring to = win32::Wide(target);
  if (IsReadOnly(to)) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return ::MoveFileExW(win32::Wide(source).c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace tavrel::platform
