// hold-module MODULE FLAG: loads MODULE as a host does and keeps it loaded
// while the file FLAG exists. It creates FLAG once the module is loaded, so
// a test can wait for it, and unloads and exits when the test deletes FLAG
// (or after two minutes). Exit codes: 0 done, 2 bad usage or no module.
#include <windows.h>

#include <cstdio>

#include "platform/win32/Handles.h"

namespace {

using tavrel::platform::win32::FileHandle;
using tavrel::platform::win32::ModuleHandle;

// Creates (or empties) the file at PATH; false when it cannot.
bool Touch(const wchar_t* path) {
  const HANDLE raw =
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return false;
  const FileHandle file(raw);
  return true;
}

bool Exists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: hold-module MODULE FLAG\n", stderr);
    return 2;
  }
  const ModuleHandle module(LoadLibraryW(argv[1]));
  if (!module) {
    std::fprintf(stderr, "hold-module: cannot load the module (error %lu)\n", GetLastError());
    return 2;
  }
  if (!Touch(argv[2])) {
    std::fprintf(stderr, "hold-module: cannot create the flag file (error %lu)\n", GetLastError());
    return 2;
  }
  constexpr int kPolls = 1200;  // 100 ms each
  for (int i = 0; i < kPolls && Exists(argv[2]); ++i) Sleep(100);
  return 0;
}
