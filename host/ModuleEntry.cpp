// What the module entry does in the plug-in: record the instance handle and
// announce the settings dialog and string table of every language (Windows
// finds them among the module's resources instead).
#include "platform/ModuleEntry.h"
#include "host/ModuleInstance.h"
#include "resources/ModuleResources.h"

namespace tavrel::platform {

void OnModuleAttach(ModuleHandle self) {
  host::SetModuleInstance(self);
  resources::AnnounceResources(self);
}

}  // namespace tavrel::platform
