#include "platform/Process.h"

#include <windows.h>

#include <string>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace tavrel::platform {

bool StartProcess(std::u16string_view program, std::u16string_view commandLine, std::u16string_view folder) {
  const std::wstring application = win32::Wide(program);
  const std::wstring currentFolder = win32::Wide(folder);
  std::wstring buffer = win32::Wide(commandLine);
  STARTUPINFOW startup;
  ::ZeroMemory(&startup, sizeof(startup));
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info;
  ::ZeroMemory(&info, sizeof(info));
  if (!::CreateProcessW(application.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentFolder.c_str(), &startup, &info))
    return false;
  const win32::KernelHandle process(info.hProcess);
  const win32::KernelHandle thread(info.hThread);
  return true;
}

}  // namespace tavrel::platform
