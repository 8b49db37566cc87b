#include "platform/Process.h"

#include <windows.h>

#include <string>

#include "platform/win32/WidePath.h"

namespace tavrel::platform {

namespace {

// A kernel handle closed when it goes out of scope.
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE h) : h_(h) {}
  ~OwnedHandle() {
    if (h_ != nullptr && h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

 private:
  HANDLE h_;
};

}  // namespace

bool StartProcess(std::u16string_view commandLine) {
  std::wstring buffer = win32::Wide(commandLine);
  STARTUPINFOW startup;
  ::ZeroMemory(&startup, sizeof(startup));
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info;
  ::ZeroMemory(&info, sizeof(info));
  if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
    return false;
  const OwnedHandle process(info.hProcess);
  const OwnedHandle thread(info.hThread);
  return true;
}

}  // namespace tavrel::platform
