// What the module entry does in the plug-in: record the instance handle and
// announce the settings dialog's template (Windows finds it among the
// module's resources instead).
#include "platform/ModuleEntry.h"
#include "host/ModuleInstance.h"
#include "platform/Dialog.h"
#include "resources/SettingsDialogTemplate.h"
#include "resources/resource.h"

namespace tavrel::platform {

void OnModuleAttach(ModuleHandle self) {
  host::SetModuleInstance(self);
  RegisterDialogTemplate(self, IDD_SETTINGS, &resources::SettingsDialogTemplate());
}

}  // namespace tavrel::platform
