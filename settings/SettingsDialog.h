// The "Emb Settings" command: the modal dialog "Tavrel Settings" in which the
// user picks the target application among the installed ones, the export
// type and curve optimisation. Apply puts the choice into the settings at
// once and stores it; Cancel, Escape and the close box change nothing.
#pragma once

#include <array>
#include <cstdint>

#include "platform/Dialog.h"
#include "resources/resource.h"
#include "settings/PluginSettings.h"

namespace tavrel::host {
class CVGAppPlugin;
}

namespace tavrel::settings {

// The radio buttons in the order Apply reads them, each with its export type.
// Their identifiers do not follow their order on screen.
struct ExportTypeButton {
  int controlId;
  int32_t exportType;
};
inline constexpr std::array<ExportTypeButton, 3> kExportTypeButtons = {{
    {IDC_EXPORT_VECTOR, LoadVectorOnly},
    {IDC_EXPORT_DIRECT, CreateDirectly},
    {IDC_EXPORT_WIZARD, StartWizard},
}};

void RunSettingsCommand(host::CVGAppPlugin& plugin) noexcept;

intptr_t SettingsDialogProc(platform::WindowHandle dialog, unsigned message, uintptr_t wParam,
                            intptr_t lParam);
void InitSettingsDialog(platform::WindowHandle dialog);
void ApplySettingsDialog(platform::WindowHandle dialog);

}  // namespace tavrel::settings
