#include "host/EventDispatch.h"

#include <optional>
#include <string>

#include "export/SendToEmbroidery.h"
#include "host/ComPtr.h"
#include "host/Commands.h"
#include "host/ErrorReport.h"
#include "host/HostError.h"
#include "host/VGAppPlugin.h"
#include "platform/Codepage.h"
#include "settings/PluginSettings.h"
#include "settings/SettingsDialog.h"

namespace tavrel::host {

namespace {

// The string of a command-name argument; none unless it is a non-null
// string variant.
std::optional<std::u16string> CommandName(const VARIANT& argument) {
  if (argument.vt != VT_BSTR || argument.bstrVal == nullptr) return std::nullopt;
  return std::u16string(platform::BstrView(argument.bstrVal));
}

bool IsCommand(const std::u16string& name, std::string_view command) {
  return name == platform::AnsiToUtf16(command);
}

// At least one document is open, the active page holds a shape, and an
// embroidery application is selected. A failure leaves the flag as it was.
void RecomputeSendEnabled(CVGAppPlugin& plugin) noexcept {
  try {
    const auto app = ComPtr<IHostApplication>::Share(plugin.Application());
    bool enabled = false;
    ComPtr<IHostDocuments> documents;
    Check(app->get_Documents(documents.Put()), app.Get());
    LONG documentCount = 0;
    Check(documents->get_Count(&documentCount), documents.Get());
    if (documentCount > 0) {
      ComPtr<IHostPage> page;
      Check(app->get_ActivePage(page.Put()), app.Get());
      ComPtr<IHostShapes> shapes;
      Check(page->get_Shapes(shapes.Put()), page.Get());
      LONG shapeCount = 0;
      Check(shapes->get_Count(&shapeCount), shapes.Get());
      enabled = shapeCount > 0 && settings::PluginSettings.EmbAppType != 0;
    }
    plugin.SetSendEnabled(enabled);
  } catch (...) {
    // Contained without a message: the host sends this event often.
  }
}

void RunCommand(CVGAppPlugin& plugin, const DISPPARAMS* params) {
  if (params == nullptr || params->cArgs != 1 || params->rgvarg == nullptr) return;
  const std::optional<std::u16string> name = CommandName(params->rgvarg[0]);
  if (!name) return;
  if (IsCommand(*name, kSendCommand)) {
    exporting::SendToEmbroidery(plugin);
  } else if (IsCommand(*name, kSettingsCommand)) {
    settings::RunSettingsCommand(plugin);
  }
}

void AnswerCommandState(const CVGAppPlugin& plugin, const DISPPARAMS* params) {
  if (params == nullptr || params->cArgs != 3 || params->rgvarg == nullptr) return;
  // Arguments arrive in reverse order: the name is the last element, the
  // enabled flag (a reference to a 16-bit boolean) the one before it.
  const std::optional<std::u16string> name = CommandName(params->rgvarg[2]);
  const VARIANT& enabled = params->rgvarg[1];
  if (!name || enabled.vt != (VT_BYREF | VT_BOOL) || enabled.pboolVal == nullptr) return;
  if (IsCommand(*name, kSendCommand)) {
    *enabled.pboolVal = plugin.SendEnabled() ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (IsCommand(*name, kSettingsCommand)) {
    *enabled.pboolVal = VARIANT_TRUE;
  }
}

}  // namespace

void DispatchEvent(CVGAppPlugin& plugin, DISPID event, const DISPPARAMS* params) noexcept {
  switch (event) {
    case kEventStateChanged:
      RecomputeSendEnabled(plugin);
      break;
    case kEventCommand:
      RunReportingErrors([&] { RunCommand(plugin, params); });
      break;
    case kEventQueryCommandState:
      RunReportingErrors([&] { AnswerCommandState(plugin, params); });
      break;
    default:
      break;
  }
}

}  // namespace tavrel::host
