#include "platform/Process.h"

#include <windows.h>

#include <string>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace tavrel::platform {

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
  const win32::KernelHandle process(info.hProcess);
  const win32::KernelHandle thread(info.hThread);
  return true;
}

}  // namespace tavrel::platform
