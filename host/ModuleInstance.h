// The plug-in module's own instance handle, recorded once by the module
// entry when the module is loaded; the settings dialog loads its template
// through it.
#pragma once

#include "platform/Module.h"

namespace tavrel::host {

void SetModuleInstance(platform::ModuleHandle instance);
platform::ModuleHandle ModuleInstance();
// Pins the module (platform::PinModule) the first time it is asked to.
void PinModuleOnce() noexcept;

}  // namespace tavrel::host
