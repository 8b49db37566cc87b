#include "settings/SettingsDialog.h"

#include "export/EmbAppTable.h"
#include "host/ComPtr.h"
#include "host/ErrorReport.h"
#include "host/HostError.h"
#include "host/ModuleInstance.h"
#include "host/Texts.h"
#include "host/VGAppPlugin.h"
#include "platform/MessageBox.h"
#include "settings/PluginSettings.h"
#include "settings/SettingsFile.h"

namespace tavrel::settings {

namespace {

using platform::SendWindowMessage;
using platform::WindowHandle;

void FillApplications(WindowHandle combo) {
  SendWindowMessage(combo, platform::kCbResetContent, 0, 0);
  if (InstalledApps.empty()) {
    platform::EnableWindow(combo, false);
    host::ReportError(host::Text(IDS_NO_APPLICATION), platform::kBoxOk | platform::kBoxIconError);
    return;
  }
  intptr_t selection = -1;
  for (int index = 1; index <= exporting::kAppCount; ++index) {
    if (!IsInstalled(index)) continue;
    const std::u16string name(exporting::AppInfo(index)->displayName);
    const intptr_t entry =
        SendWindowMessage(combo, platform::kCbAddString, 0, reinterpret_cast<intptr_t>(name.c_str()));
    if (entry < 0) continue;
    SendWindowMessage(combo, platform::kCbSetItemData, static_cast<uintptr_t>(entry), index);
    if (PluginSettings.EmbAppType == index) selection = entry;
  }
  SendWindowMessage(combo, platform::kCbSetCurSel, static_cast<uintptr_t>(selection), 0);
  platform::EnableWindow(combo, true);
}

bool IsChecked(WindowHandle dialog, int controlId, bool* checked) {
  const WindowHandle control = platform::GetDlgItem(dialog, controlId);
  if (control == nullptr) return false;
  *checked = SendWindowMessage(control, platform::kBmGetCheck, 0, 0) == platform::kBstChecked;
  return true;
}

void SetCheck(WindowHandle dialog, int controlId, bool checked) {
  const WindowHandle control = platform::GetDlgItem(dialog, controlId);
  if (control != nullptr) {
    SendWindowMessage(control, platform::kBmSetCheck,
                      checked ? platform::kBstChecked : platform::kBstUnchecked, 0);
  }
}

}  // namespace

void InitSettingsDialog(WindowHandle dialog) {
  host::RunReportingErrors([dialog] {
    const WindowHandle combo = platform::GetDlgItem(dialog, IDC_APP_COMBO);
    if (combo != nullptr) FillApplications(combo);
  });
  for (const ExportTypeButton& button : kExportTypeButtons) {
    if (PluginSettings.ExportType == button.exportType) SetCheck(dialog, button.controlId, true);
  }
  SetCheck(dialog, IDC_OPTIMISE_CURVES, PluginSettings.OptimiseCurves);
}

void ApplySettingsDialog(WindowHandle dialog) {
  const WindowHandle combo = platform::GetDlgItem(dialog, IDC_APP_COMBO);
  if (combo != nullptr) {
    const intptr_t selection = SendWindowMessage(combo, platform::kCbGetCurSel, 0, 0);
    if (selection != platform::kCbErr) {
      const intptr_t data =
          SendWindowMessage(combo, platform::kCbGetItemData, static_cast<uintptr_t>(selection), 0);
      if (data != platform::kCbErr) PluginSettings.EmbAppType = static_cast<int32_t>(data);
    }
  }
  for (const ExportTypeButton& button : kExportTypeButtons) {
    bool checked = false;
    if (IsChecked(dialog, button.controlId, &checked) && checked)
      PluginSettings.ExportType = button.exportType;
  }
  bool optimise = false;
  if (IsChecked(dialog, IDC_OPTIMISE_CURVES, &optimise)) PluginSettings.OptimiseCurves = optimise;
}

intptr_t SettingsDialogProc(WindowHandle dialog, unsigned message, uintptr_t wParam, intptr_t /*lParam*/) {
  // The dialog manager calls this from its own frames: nothing may escape.
  try {
    if (message == platform::kWmInitDialog) {
      InitSettingsDialog(dialog);
      return 1;
    }
    if (message == platform::kWmCommand) {
      switch (static_cast<uint16_t>(wParam & 0xFFFF)) {
        case platform::kIdOk:
          ApplySettingsDialog(dialog);
          platform::EndDialog(dialog, platform::kIdOk);
          return 1;
        case platform::kIdCancel:
          platform::EndDialog(dialog, platform::kIdCancel);
          return 1;
        default:
          return 0;
      }
    }
  } catch (...) {
    host::ReportUnexpectedError();
  }
  return 0;
}

void RunSettingsCommand(host::CVGAppPlugin& plugin) noexcept {
  host::RunReportingErrors([&plugin] {
    const auto app = host::ComPtr<host::IHostApplication>::Share(plugin.Application());
    intptr_t owner = 0;
    {
      host::ComPtr<host::IHostWindow> window;
      host::Check(app->get_MainWindow(window.Put()), app.Get());
      host::Check(window->get_Handle(&owner), window.Get());
    }
    const intptr_t result = platform::RunDialogIn(host::ModuleInstance(), IDD_SETTINGS, host::UiLanguage(),
                                                  reinterpret_cast<WindowHandle>(owner), SettingsDialogProc,
                                                  reinterpret_cast<intptr_t>(&plugin));
    if (result == platform::kIdOk && SaveSettings(plugin) == SaveOutcome::Failed) {
      host::ReportError(host::Text(IDS_SAVE_FAILED), platform::kBoxOk | platform::kBoxIconError);
    }
  });
}

}  // namespace tavrel::settings
