// The settings dialog's template as data, the same as the resource script
// compiled into the Windows module; the native dialog stand-in runs it.
#pragma once

#include "platform/DialogTemplate.h"

namespace tavrel::resources {

const platform::DialogTemplate& SettingsDialogTemplate();

}  // namespace tavrel::resources
