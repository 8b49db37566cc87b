#include <windows.h>

#include "tests/settings/DialogModule.h"

namespace tavrel::testing_support {

// The test program is linked with the module's resource script.
platform::ModuleHandle ModuleWithSettingsDialog() {
  return reinterpret_cast<platform::ModuleHandle>(::GetModuleHandleW(nullptr));
}

}  // namespace tavrel::testing_support
