#include <windows.h>

#include <stdexcept>

#include "platform/win32/Handles.h"
#include "tests/support/TempDir.h"

namespace tavrel::testing_support {

// Wine sets the end with ftruncate: sparse on a POSIX file system.
void TempDir::WriteSparse(std::u16string_view relative, uint64_t size) const {
  Write(relative, "");
  const platform::win32::FileHandle file(::CreateFileW(Native(relative).c_str(), GENERIC_WRITE, 0, nullptr,
                                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) throw std::runtime_error("cannot open the sparse file");
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  if (!::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) || !::SetEndOfFile(file.Get()))
    throw std::runtime_error("cannot make a sparse file");
}

namespace {

// The Linux path of a Windows path, as Wine's kernel32 tells it.
std::wstring UnixPath(const std::filesystem::path& path) {
  using UnixFileName = char*(CDECL*)(const wchar_t*);
  const auto unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (unixFileName == nullptr) throw std::runtime_error("links are made only under Wine");
  char* name = unixFileName(path.c_str());
  if (name == nullptr) throw std::runtime_error("no Linux path for the link");
  const std::string utf8(name);
  ::HeapFree(::GetProcessHeap(), 0, name);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

}  // namespace

// Wine starts a Linux program as it starts a Windows one.
void TempDir::Link(std::u16string_view relative, std::u16string_view target) const {
  std::wstring line =
      L"/bin/ln -s \"" + UnixPath(Native(target)) + L"\" \"" + UnixPath(Native(relative)) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(L"Z:\\bin\\ln", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
    throw std::runtime_error("cannot run ln");
  const platform::win32::KernelHandle process(info.hProcess);
  const platform::win32::KernelHandle thread(info.hThread);
  ::WaitForSingleObject(process.Get(), 30000);
  // A dangling link shows as no file here, so only a live one is awaited.
  std::error_code ec;
  if (!std::filesystem::exists(Native(target), ec)) return;
  for (int i = 0; i < 300 && !std::filesystem::exists(Native(relative), ec); ++i) ::Sleep(10);
  if (!std::filesystem::exists(Native(relative), ec)) throw std::runtime_error("ln made no link");
}

}  // namespace tavrel::testing_support
