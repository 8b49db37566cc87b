// DllMain of the module: records the instance handle when the process
// attaches; every notification succeeds.
#include <windows.h>

#include "platform/ModuleEntry.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    tavrel::platform::OnModuleAttach(reinterpret_cast<tavrel::platform::ModuleHandle>(instance));
  }
  return TRUE;
}
