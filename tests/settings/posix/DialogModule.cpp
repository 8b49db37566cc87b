#include "tests/settings/DialogModule.h"

#include "platform/Dialog.h"
#include "resources/SettingsDialogTemplate.h"
#include "resources/resource.h"

namespace tavrel::testing_support {

platform::ModuleHandle ModuleWithSettingsDialog() {
  static int self = 0;
  auto* module = reinterpret_cast<platform::ModuleHandle>(&self);
  platform::RegisterDialogTemplate(module, IDD_SETTINGS, &resources::SettingsDialogTemplate());
  return module;
}

}  // namespace tavrel::testing_support
