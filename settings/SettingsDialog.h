// The "Emb Settings" command: the modal dialog "Tavrel Settings" in which the
// user picks the target application among the installed ones, the export
// type and curve optimisation. Apply puts the choice into the settings at
// once and stores it; Cancel, Escape and the close box change nothing.
#pragma once

#include <cstdint>

#include "platform/Dialog.h"

namespace tavrel::host {
class CVGAppPlugin;
}

namespace tavrel::settings {

void RunSettingsCommand(host::CVGAppPlugin& plugin) noexcept;

intptr_t SettingsDialogProc(platform::WindowHandle dialog, unsigned message, uintptr_t wParam,
                            intptr_t lParam);
void InitSettingsDialog(platform::WindowHandle dialog);
void ApplySettingsDialog(platform::WindowHandle dialog);

}  // namespace tavrel::settings
