#include "host/Activation.h"

#include <string_view>

#include "host/Bstr.h"
#include "host/ComPtr.h"
#include "host/Commands.h"
#include "host/ErrorReport.h"
#include "host/HostError.h"
#include "host/Texts.h"
#include "host/VGAppPlugin.h"
#include "host/Variant.h"
#include "platform/Codepage.h"
#include "platform/Path.h"
#include "resources/resource.h"
#include "settings/SettingsFile.h"

namespace tavrel::host {

namespace {

constexpr std::string_view kBarName = "Standard";
constexpr std::string_view kButtonId = "ab489730-8791-45d2-a825-b78bbe0d6a5d";

struct CommandInfo {
  std::string_view name;
  int caption;  // string table identifiers
  int tooltip;
  std::string_view bitmap;  // relative to the host folder
};

constexpr CommandInfo kCommands[] = {
    {kSendCommand, IDS_SEND_CAPTION, IDS_SEND_TOOLTIP, "Plugins\\Tavrel\\Tavrel.bmp"},
    {kSettingsCommand, IDS_SETTINGS_CAPTION, IDS_SETTINGS_TOOLTIP, "Plugins\\Tavrel\\TavrelSettings.bmp"},
};

// The command bars and the "Standard" bar are asked for afresh for every
// button; the controls, the bar and the bars are released, last obtained
// first, when this returns.
ComPtr<IHostControl> AddButton(const ComPtr<IHostApplication>& app, std::string_view command) {
  ComPtr<IHostCommandBars> bars;
  Check(app->get_CommandBars(bars.Put()), app.Get());
  const Variant barName(platform::AnsiToUtf16(kBarName));
  ComPtr<IHostCommandBar> bar;
  Check(bars->get_Item(barName.Get(), bar.Put()), bars.Get());
  ComPtr<IHostControls> controls;
  Check(bar->get_Controls(controls.Put()), bar.Get());
  const Bstr id = Bstr::FromAnsi(kButtonId);
  const Bstr name = Bstr::FromAnsi(command);
  ComPtr<IHostControl> button;
  Check(controls->AddCommandButton(id.Get(), name.Get(), 0, VARIANT_TRUE, button.Put()), controls.Get());
  return button;
}

// The host folder joined with the bitmap's relative path; a folder without a
// final separator gets one, so the bitmap is never looked for in a sibling
// folder.
void SetIcon(const ComPtr<IHostApplication>& app, const ComPtr<IHostControl>& button,
             std::string_view bitmap) {
  Bstr folder;
  Check(app->get_HostFolder(folder.Put()), app.Get());
  std::u16string path(folder.View());
  if (!path.empty() && !platform::IsPathSeparator(path.back())) path += u'\\';
  path += platform::AnsiToUtf16(bitmap);
  const Bstr fullPath(path);
  Check(button->SetIconFromFile(fullPath.Get()), button.Get());
}

void AddCommand(const ComPtr<IHostApplication>& app, const CommandInfo& command) {
  const Bstr name = Bstr::FromAnsi(command.name);
  const Bstr caption(Text(command.caption));
  const Bstr tooltip(Text(command.tooltip));
  VARIANT_BOOL added = VARIANT_FALSE;
  Check(app->AddPluginCommand(name.Get(), caption.Get(), tooltip.Get(), &added), app.Get());
}

void RemoveCommand(const ComPtr<IHostApplication>& app, std::string_view command) {
  const Bstr name = Bstr::FromAnsi(command);
  VARIANT_BOOL removed = VARIANT_FALSE;
  Check(app->RemovePluginCommand(name.Get(), &removed), app.Get());
}

}  // namespace

void Activate(CVGAppPlugin& plugin) noexcept {
  if (plugin.Subscribed()) return;
  RunReportingErrors([&plugin] {
    settings::InitSettings(plugin);
    const auto app = ComPtr<IHostApplication>::Share(plugin.Application());
    ComPtr<IHostControl> button;
    for (const CommandInfo& command : kCommands) {
      AddCommand(app, command);
      button = AddButton(app, command.name);
      SetIcon(app, button, command.bitmap);
    }
    LONG cookie = 0;
    Check(app->AdviseEvents(static_cast<IDispatch*>(&plugin), &cookie), app.Get());
    plugin.SetEventCookie(cookie);
    plugin.SetSubscribed(true);
  });
}

void Deactivate(CVGAppPlugin& plugin) noexcept {
  RunReportingErrors([&plugin] {
    const auto app = ComPtr<IHostApplication>::Share(plugin.Application());
    Check(app->UnadviseEvents(plugin.EventCookie()), app.Get());
    plugin.SetSubscribed(false);
    RemoveCommand(app, kSendCommand);
    RemoveCommand(app, kSettingsCommand);
  });
}

void EndSubscription(CVGAppPlugin& plugin) noexcept {
  if (!plugin.Subscribed() || plugin.Application() == nullptr) return;
  try {
    const auto app = ComPtr<IHostApplication>::Share(plugin.Application());
    if (SUCCEEDED(app->UnadviseEvents(plugin.EventCookie()))) plugin.SetSubscribed(false);
  } catch (...) {
    // The host is going away; its failure has nobody left to tell.
  }
}

}  // namespace tavrel::host
