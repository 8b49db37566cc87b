#include <windows.h>

#include <initializer_list>
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

// Wine starts a Linux program as it starts a Windows one, but its process
// handle cannot be waited for (WaitForSingleObject fails at once). So a
// shell runs the script with the Linux paths as $1, $2, ... and then makes
// the flag file (the last argument), which is awaited: what the script did
// stands before the test goes on.
void RunShell(const std::wstring& script, std::initializer_list<std::filesystem::path> paths,
              const std::filesystem::path& flag) {
  std::wstring line =
      L"/bin/sh -c \"" + script + L" && : > \\\"$" + std::to_wstring(paths.size() + 1) + L"\\\"\" sh";
  for (const std::filesystem::path& path : paths) line += L" \"" + UnixPath(path) + L"\"";
  line += L" \"" + UnixPath(flag) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
    throw std::runtime_error("cannot run the shell");
  const platform::win32::KernelHandle process(info.hProcess);
  const platform::win32::KernelHandle thread(info.hThread);
  std::error_code ec;
  for (int i = 0; i < 3000 && !std::filesystem::exists(flag, ec); ++i) ::Sleep(10);
  if (!std::filesystem::remove(flag, ec)) throw std::runtime_error("the shell did not finish");
}

}  // namespace

// Under Wine a Windows program cannot make a POSIX link: a shell makes it.
void TempDir::Link(std::u16string_view relative, std::u16string_view target) const {
  RunShell(L"ln -s -- \\\"$1\\\" \\\"$2\\\"", {Native(target), Native(relative)},
           Native(std::u16string(relative) + u".linked"));
  linked_ = true;
}

// Wine removes the file a link names in its place, and a link left
// dangling is hidden from the removal of the folder: the shell removes the
// links themselves first.
void TempDir::RemoveLinks() const {
  if (!linked_) return;
  try {
    RunShell(L"find \\\"$1\\\" -type l -exec rm -f -- {} +", {root_},
             root_.parent_path() / (root_.filename().wstring() + L".unlinked"));
  } catch (const std::exception&) {
    // What is left stays in the temporary folder.
  }
}

}  // namespace tavrel::testing_support
