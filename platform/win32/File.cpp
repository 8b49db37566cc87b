#include "platform/File.h"

#include <io.h>
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/TempName.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Links.h"
#include "platform/win32/WideText.h"

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

std::optional<uint64_t> File::Size() const {
  LARGE_INTEGER size{};
  if (!IsOpen() || !::GetFileSizeEx(AsHandle(Raw()), &size) || size.QuadPart < 0) return std::nullopt;
  return static_cast<uint64_t>(size.QuadPart);
}

bool File::Read(void* buffer, uint32_t count, uint32_t* done) {
  DWORD got = 0;
  const BOOL ok = IsOpen() && ::ReadFile(AsHandle(Raw()), buffer, count, &got, nullptr);
  *done = got;
  return ok != FALSE;
}

bool File::Write(const void* data, uint32_t count, uint32_t* done) {
  DWORD put = 0;
  const BOOL ok = IsOpen() && ::WriteFile(AsHandle(Raw()), data, count, &put, nullptr);
  *done = put;
  return ok != FALSE;
}

bool File::Flush() { return IsOpen() && ::FlushFileBuffers(AsHandle(Raw())) != FALSE; }

void FileHandleTraits::Close(intptr_t handle) { ::CloseHandle(AsHandle(handle)); }

int Access(std::u16string_view path, int mode) { return ::_waccess(win32::Wide(path).c_str(), mode); }

bool IsFolder(std::u16string_view path) {
  const DWORD attributes = ::GetFileAttributesW(win32::Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int Chmod(std::u16string_view path, int mode) { return ::_wchmod(win32::Wide(path).c_str(), mode); }

bool RemoveFile(std::u16string_view path) { return ::DeleteFileW(win32::Wide(path).c_str()) != FALSE; }

namespace {

constexpr wchar_t kTempLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// Removes the temporary files of `target` that no live save holds open: a
// live one is open without sharing, so it cannot be deleted.
void RemoveStaleTemps(const std::wstring& folder, const std::wstring& name) {
  WIN32_FIND_DATAW found{};
  const std::wstring marker(kTempMarker.begin(), kTempMarker.end());
  const win32::FindHandle search(::FindFirstFileW((folder + L"\\" + name + marker + L"*").c_str(), &found));
  if (!search) return;
  do {
    const std::wstring_view entry = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !IsTempNameOf<wchar_t>(name, entry))
      continue;
    ::DeleteFileW((folder + L"\\" + std::wstring(entry)).c_str());
  } while (::FindNextFileW(search.Get(), &found));
}

// The marker and six letters or digits, different on every call.
std::wstring TempSuffix() {
  static LONG counter = 0;
  unsigned long long value =
      (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32) ^ ::GetTickCount64() ^
      (static_cast<unsigned long long>(::InterlockedIncrement(&counter)) * 0x9E3779B97F4A7C15ULL);
  std::wstring suffix(kTempMarker.begin(), kTempMarker.end());
  for (size_t i = 0; i < kTempUniqueLength; ++i) {
    suffix.push_back(kTempLetters[value % 62]);
    value = value / 62 * 0x2545F4914F6CDD1DULL + 0x9E37;
  }
  return suffix;
}

// The file a save of `target` writes, in the form the system takes whole
// once a temporary name is added to it; none for a link whose file cannot
// be reached.
std::optional<std::wstring> SaveTarget(std::u16string_view target) {
  std::optional<std::wstring> file = win32::LinkedFile(win32::Wide(target));
  if (file) *file = win32::LongForm(*file, kTempMarker.size() + kTempUniqueLength);
  return file;
}

}  // namespace

File CreateTempBeside(std::u16string_view target, std::u16string* tempPath) {
  const std::optional<std::wstring> file = SaveTarget(target);
  if (!file) {
    // A link whose file is missing is not replaced by a plain file.
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return File();
  }
  const auto cut = file->find_last_of(L"\\/");
  const std::wstring folder = cut == std::wstring::npos ? L"." : file->substr(0, cut == 0 ? 1 : cut);
  const std::wstring name = cut == std::wstring::npos ? *file : file->substr(cut + 1);
  RemoveStaleTemps(folder, name);
  for (int attempt = 0; attempt < 64; ++attempt) {
    const std::wstring path = *file + TempSuffix();
    // Created new and open without sharing in one step: locked from the start.
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      *tempPath = win32::FromWide(path.c_str());
      return File(reinterpret_cast<intptr_t>(h));
    }
    if (::GetLastError() != ERROR_FILE_EXISTS) return File();
  }
  return File();
}

bool ReplaceFileAtomically(std::u16string_view source, std::u16string_view target) {
  const std::optional<std::wstring> linked = SaveTarget(target);
  if (!linked) {
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  const std::wstring& to = *linked;
  if (IsReadOnly(to)) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  const std::wstring from = win32::Wide(source);
  // The new data is on the disk before any name leads to it: a write-through
  // move waits for the move, not for the data written before it.
  DWORD flushError = ERROR_SUCCESS;
  {
    const win32::FileHandle data(::CreateFileW(from.c_str(), GENERIC_WRITE,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!data || !::FlushFileBuffers(data.Get())) flushError = ::GetLastError();
  }
  if (flushError != ERROR_SUCCESS) {
    ::SetLastError(flushError);
    return false;
  }
  return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace tavrel::platform
