#include "tools/host/runner/Resources.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

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

}  // namespace

nlohmann::json ProcessResources() {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  const long rss = GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)
                       ? static_cast<long>(memory.WorkingSetSize / 1024)
                       : -1;
  DWORD handles = 0;
  const long handleCount =
      GetProcessHandleCount(GetCurrentProcess(), &handles) ? static_cast<long>(handles) : -1;
  return {{"rss-kb", rss},
          {"handles", handleCount},
          {"gdi", GuiObjects(GR_GDIOBJECTS)},
          {"user", GuiObjects(GR_USEROBJECTS)}};
}

}  // namespace tavrel::hostrunner
