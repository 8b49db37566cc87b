// A module that holds the settings dialog's template, for running the dialog
// in-process: the test program itself (its resources on Windows; natively
// the template announced for it).
#pragma once

#include "platform/Module.h"

namespace tavrel::testing_support {

platform::ModuleHandle ModuleWithSettingsDialog();

}  // namespace tavrel::testing_support
