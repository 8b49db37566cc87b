#include <windows.h>
#include <winioctl.h>

#include <stdexcept>

#include "platform/win32/Handles.h"
#include "tests/support/TempDir.h"

namespace tavrel::testing_support {

// Marked sparse, then its end set: the file system allocates nothing for the
// zeros (Wine sets the end with ftruncate, sparse on a POSIX file system).
void TempDir::WriteSparse(std::u16string_view relative, uint64_t size) const {
  Write(relative, "");
  const platform::win32::FileHandle file(::CreateFileW(Native(relative).c_str(), GENERIC_WRITE, 0, nullptr,
                                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) throw std::runtime_error("cannot open the sparse file");
  DWORD returned = 0;
  ::DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  if (!::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) || !::SetEndOfFile(file.Get()))
    throw std::runtime_error("cannot make a sparse file");
}

namespace {

// A path below drive Z: as Linux spells it.
std::wstring UnixPath(const std::filesystem::path& path) {
  std::wstring unix = path.wstring();
  if (unix.size() < 2 || (unix[0] != L'Z' && unix[0] != L'z') || unix[1] != L':')
    throw std::runtime_error("a link can only be made below drive Z:");
  unix.erase(0, 2);
  for (wchar_t& c : unix) {
    if (c == L'\\') c = L'/';
  }
  return unix;
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
  std::error_code ec;
  for (int i = 0; i < 300 && !std::filesystem::exists(Native(relative), ec); ++i) ::Sleep(10);
  if (!std::filesystem::exists(Native(relative), ec)) throw std::runtime_error("ln made no link");
}

}  // namespace tavrel::testing_support
