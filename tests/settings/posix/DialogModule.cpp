#include "tests/settings/DialogModule.h"

#include "resources/ModuleResources.h"

namespace tavrel::testing_support {

platform::ModuleHandle ModuleWithSettingsDialog() {
  static int self = 0;
  auto* module = reinterpret_cast<platform::ModuleHandle>(&self);
  resources::AnnounceResources(module);
  return module;
}

}  // namespace tavrel::testing_support
