// What the module entry does in the plug-in: record the instance handle.
#include "platform/ModuleEntry.h"
#include "host/ModuleInstance.h"

namespace tavrel::platform {

void OnModuleAttach(ModuleHandle self) { host::SetModuleInstance(self); }

}  // namespace tavrel::platform
