#include "platform/Module.h"

#include <windows.h>

namespace tavrel::platform {

bool PinModule(ModuleHandle module) noexcept {
  if (module == nullptr) return true;
  // The instance handle is the module's base address, which lies inside it;
  // a pinned module stays loaded until the process ends.
  HMODULE pinned = nullptr;
  return ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                              reinterpret_cast<LPCWSTR>(module), &pinned) != FALSE;
}

}  // namespace tavrel::platform
