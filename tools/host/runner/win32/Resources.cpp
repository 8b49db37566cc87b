#include "tools/host/runner/Resources.h"

#include <windows.h>
// After windows.h, whose types they use.
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <vector>

namespace tavrel::hostrunner {
namespace {

// GetGuiResources answers 0 with an error where the system does not count
// these objects; that is told as null.
nlohmann::json GuiObjects(DWORD kind) {
  SetLastError(0);
  const DWORD count = GetGuiResources(GetCurrentProcess(), kind);
  if (count == 0 && GetLastError() != 0) return nullptr;
  return count;
}

// The entries of this process in the system's handle table: Wine answers
// GetProcessHandleCount with 0 (it does not count), where a running process
// always holds some. Null when the table cannot be read either.
nlohmann::json HandlesInTable() {
  constexpr NTSTATUS kLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
  std::vector<unsigned char> table(std::size_t{1} << 16);
  for (int tries = 0; tries < 8; ++tries) {
    ULONG needed = 0;
    const NTSTATUS status = NtQuerySystemInformation(SystemHandleInformation, table.data(),
                                                     static_cast<ULONG>(table.size()), &needed);
    if (status == kLengthMismatch) {
      table.resize(std::max<std::size_t>(needed + 4096, table.size() * 2));
      continue;
    }
    if (status < 0) return nullptr;
    const auto* info = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(table.data());
    const ULONG self = GetCurrentProcessId();
    long count = 0;
    for (ULONG i = 0; i < info->Count; ++i) count += info->Handle[i].OwnerPid == self ? 1 : 0;
    return count;
  }
  return nullptr;
}

nlohmann::json Handles() {
  DWORD handles = 0;
  if (!GetProcessHandleCount(GetCurrentProcess(), &handles)) return nullptr;
  return handles > 0 ? nlohmann::json(handles) : HandlesInTable();
}

}  // namespace

nlohmann::json ProcessResources() {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  const long rss = GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)
                       ? static_cast<long>(memory.WorkingSetSize / 1024)
                       : -1;
  return {{"rss-kb", rss},
          {"handles", Handles()},
          {"gdi", GuiObjects(GR_GDIOBJECTS)},
          {"user", GuiObjects(GR_USEROBJECTS)}};
}

}  // namespace tavrel::hostrunner
