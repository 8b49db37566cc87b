// The entry of a loadable module: when the module is attached to the process
// it hands its own handle to OnModuleAttach, which the module defines. The
// entry itself (platform/<platform>/ModuleEntry.cpp) is compiled into that
// module only, never into the platform library.
#pragma once

#include "platform/Module.h"

namespace tavrel::platform {

void OnModuleAttach(ModuleHandle self);

}  // namespace tavrel::platform
