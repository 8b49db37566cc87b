#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "export/EmbAppTable.h"
#include "host/AttachPlugin.h"
#include "host/Commands.h"
#include "host/ModuleInstance.h"
#include "host/VGAppPlugin.h"
#include "platform/Com.h"
#include "platform/Text.h"
#include "settings/PluginSettings.h"
#include "tests/settings/DialogModule.h"
#include "tests/support/EmbroideryStandIn.h"
#include "tests/support/MessageBoxCapture.h"
#include "tests/support/ScopedRegistry.h"
#include "tests/support/SessionFolders.h"
#include "tests/support/TempDir.h"
#include "tools/dialogdriver/DialogAnswerer.h"
#include "tools/host/callorder/CallOrder.h"
#include "tools/host/callorder/Starts.h"
#include "tools/host/model/HostModel.h"
#include "tools/host/model/VariantText.h"

namespace tavrel::callorder {

namespace {

// The two applications installed: every Apply picks the one not chosen.
constexpr int kApps[] = {1, 2};

std::u16string AppFolder(const testing_support::TempDir& dir, int index) {
  return dir.Path(u"apps\\" + text::FormatInt(index));
}

}  // namespace

struct Campaign::Impl {
  testing_support::TempDir dir;
  testing_support::ScopedRegistry registry;
  testing_support::MessageBoxCapture boxes;
  std::optional<testing_support::ScopedEnvironmentVariable> receipt;
  StartCounter starts;
  dialogdriver::DialogAnswerer answerer{{}};

  // The session under way.
  std::unique_ptr<hostmodel::HostModel> host;
  host::CVGAppPlugin* plugin = nullptr;
  int hostReferences = 0;  // the references the host holds on the plug-in
  const Reentry* reentry = nullptr;
  bool reentered = false;
  int entries = 0;     // calls the host made into the plug-in
  int sendClicks = 0;  // "To Embroidery" clicks delivered
  int exports = 0;     // exports the host made
  std::vector<std::string> faults;

  Impl();
  void Fault(const std::string& what) { faults.push_back(what); }
  void Begin();
  void Do(Step step);
  void Reenter();
  void End();

  // Host actions. An event goes to every subscribed sink (to the plug-in
  // itself while there is none) with its arguments as the scenario language
  // writes them, the way a careless host sends it: holding no reference of
  // its own while the receiver runs.
  void Send(DISPID id, std::initializer_list<std::string_view> arguments) {
    hostmodel::VariantList list;
    for (const std::string_view argument : arguments) list.Add(argument);
    std::vector<VARIANT> reversed = list.Items();
    std::reverse(reversed.begin(), reversed.end());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    std::vector<IDispatch*> receivers;
    for (const auto& [cookie, sink] : host->Sinks()) receivers.push_back(sink);
    if (receivers.empty()) receivers.push_back(plugin);
    for (IDispatch* receiver : receivers) {
      ++entries;
      receiver->Invoke(id, GUID_NULL, 0, 1 /* DISPATCH_METHOD */, &params, nullptr, nullptr, nullptr);
    }
  }
  void Click(std::string_view command) {
    if (command == host::kSendCommand) ++sendClicks;
    Send(host::kEventCommand, {"bstr:" + std::string(command)});
  }
  void QueryState() { Send(host::kEventQueryCommandState, {"bstr:Tavrel", "byref-bool:0", "i4:0"}); }
  void Settings(dialogdriver::DialogClose close) {
    dialogdriver::DialogAnswer answer;
    const int other = settings::PluginSettings.EmbAppType == kApps[0] ? kApps[1] : kApps[0];
    answer.application = std::u16string(exporting::AppInfo(other)->displayName);
    answer.close = close;
    answerer.Push(answer);
    Click(host::kSettingsCommand);
  }
  void Unload() {
    ++entries;
    plugin->OnUnload();
    if (!host->Sinks().empty()) Fault("a subscription outlives the unload notification");
  }
  // Only the application the plug-in was loaded with may be held between
  // two host actions.
  void CheckReferences(const std::string& after) {
    for (const auto& [name, count] : host->OutstandingReferences()) {
      if (count != 0 && !(name == "IHostApplication" && count == 1))
        Fault(std::string(name)
                  .append(" held ")
                  .append(std::to_string(count))
                  .append(" times after ")
                  .append(after));
    }
  }
  void CheckCommandLines();
};

Campaign::Impl::Impl() {
  // In-process the plug-in's module is this program: it is pinned already
  // (the first object pins the module of record, here none), and the
  // settings dialog's template is found through the program.
  host::IVGAppPlugin* first = nullptr;
  AttachPlugin(&first);
  if (first != nullptr) first->Release();
  host::SetModuleInstance(testing_support::ModuleWithSettingsDialog());

  for (int index = 1; index <= exporting::kAppCount; ++index)
    registry.RemoveKey(testing_support::RegistryRoot::CurrentUser,
                       text::FromAscii(exporting::AppInfo(index)->registryKey));
  for (const int index : kApps) {
    const std::u16string relative = u"apps\\" + text::FormatInt(index);
    testing_support::InstallEmbroideryApplication(registry, index, dir.Native(relative), dir.Path(relative));
  }
  receipt.emplace(testing_support::kReceiptVariable, dir.Native(u"receipt.json"));

  answerer.OnDialog([this](const dialogdriver::DialogObservation&) {
    if (reentry != nullptr && reentry->point == Point::Dialog) Reenter();
  });
}

void Campaign::Impl::Begin() {
  settings::PluginSettings = settings::PluginSettingsRecord{};
  settings::InstalledApps.clear();
  const testing_support::SessionFolders folders = testing_support::MakeSessionFolders(dir);
  hostmodel::HostOptions options;
  options.hostFolder = folders.host;
  options.settingsFolder = folders.settings;
  host = std::make_unique<hostmodel::HostModel>(options);
  host->OpenDrawing(std::filesystem::path(TAVREL_SOURCE_DIR) / "tools/host/samples/flower.svg");
  host->SelectByIndex({0});
  host->OnRecord([this](const nlohmann::json& record) {
    if (reentry != nullptr && reentry->point == Point::Export &&
        record.value("op", "") == "Document.ExportToFile")
      Reenter();
  });
  host::IVGAppPlugin* attached = nullptr;
  AttachPlugin(&attached);
  plugin = static_cast<host::CVGAppPlugin*>(attached);
  hostReferences = plugin != nullptr ? 1 : 0;
  if (plugin == nullptr) Fault("AttachPlugin gave no object");
  reentered = false;
  entries = 0;
  sendClicks = 0;
  faults.clear();
}

void Campaign::Impl::Do(Step step) {
  if (hostReferences == 0) return;  // the host let go of the plug-in
  switch (step) {
    case Step::Load:
      ++entries;
      plugin->OnLoad(host->Application());
      break;
    case Step::LoadNull:
      ++entries;
      plugin->OnLoad(nullptr);
      break;
    case Step::Activate:
      ++entries;
      plugin->StartSession();
      if (host->Sinks().size() > 1) Fault("subscribed " + std::to_string(host->Sinks().size()) + " times");
      break;
    case Step::Deactivate:
      ++entries;
      plugin->StopSession();
      break;
    case Step::Unload:
      Unload();
      break;
    case Step::Event17:
      Send(host::kEventStateChanged, {});
      break;
    case Step::Event21:
      QueryState();
      break;
    case Step::ClickSend:
      Click(host::kSendCommand);
      break;
    case Step::ClickSettingsApply:
      Settings(dialogdriver::DialogClose::Apply);
      break;
    case Step::ClickSettingsCancel:
      Settings(dialogdriver::DialogClose::Cancel);
      break;
    case Step::AddRef:
      plugin->AddRef();
      ++hostReferences;
      break;
    case Step::Release:
      if (hostReferences > 1) {
        plugin->Release();
        --hostReferences;
      }
      break;
  }
}

namespace {

// The step a re-entrant host takes for each action but the last release.
Step AsStep(Action action) {
  switch (action) {
    case Action::Event17:
      return Step::Event17;
    case Action::Event21:
      return Step::Event21;
    case Action::ClickSend:
      return Step::ClickSend;
    case Action::Activate:
      return Step::Activate;
    case Action::ChooseOther:
      return Step::ClickSettingsApply;
    case Action::Unload:
      return Step::Unload;
    case Action::ReleaseLast:  // no step of a sequence: Reenter lets go itself
      break;
  }
  return Step::Release;
}

}  // namespace

// The host, called by the plug-in (from the export or the dialog), calls
// back into it once per session.
void Campaign::Impl::Reenter() {
  if (reentered || hostReferences == 0) return;
  reentered = true;
  if (reentry->action != Action::ReleaseLast) {
    Do(AsStep(reentry->action));
    return;
  }
  // Every reference the host holds: its subscriptions' too.
  for (const auto& [cookie, sink] : host->Sinks()) host->Application()->UnadviseEvents(cookie);
  while (hostReferences > 0) {
    plugin->Release();
    --hostReferences;
  }
}

void Campaign::Impl::CheckCommandLines() {
  for (const std::u16string& line : starts.TakeCommandLines()) {
    // "FOLDER\PROGRAM" "FOLDER\Images\host_export.emf" [options]
    const std::size_t programEnd = line.find(u'"', 1);
    const std::size_t exportStart = line.find(u'"', programEnd + 1);
    const std::u16string program = line.substr(1, programEnd - 1);
    const std::u16string exported =
        line.substr(exportStart + 1, line.find(u'"', exportStart + 1) - exportStart - 1);
    bool matched = false;
    for (const int index : kApps) {
      const std::u16string folder = AppFolder(dir, index) + u"\\";
      if (program.rfind(folder, 0) != 0) continue;
      matched = program == folder + std::u16string(exporting::AppInfo(index)->exeName) &&
                exported.rfind(folder, 0) == 0;
    }
    if (!matched) Fault("started with a mixed command line: " + text::ToUtf8(line));
  }
}

void Campaign::Impl::End() {
  if (hostReferences > 0) {
    ++entries;
    plugin->StopSession();
    Unload();
    while (hostReferences > 1) {
      plugin->Release();
      --hostReferences;
    }
    const ULONG left = plugin->Release();
    hostReferences = 0;
    if (left != 0) Fault("the host's last Release returned " + std::to_string(left));
  } else {
    // A host that let go of the plug-in from inside it ends whatever
    // subscription it still keeps when it closes.
    for (const auto& [cookie, sink] : host->Sinks()) host->Application()->UnadviseEvents(cookie);
  }
  plugin = nullptr;
  if (!host->Sinks().empty()) Fault("a subscription is left");
  const auto references = host->OutstandingReferences();
  for (const auto& [name, count] : references) {
    if (count != 0) Fault(name + " still held " + std::to_string(count) + " times");
  }
  exports = host->CallCount("Document.ExportToFile");
  if (exports > sendClicks)
    Fault(std::to_string(exports) + " exports for " + std::to_string(sendClicks) + " clicks");
  host.reset();
}

Campaign::Campaign() : impl_(std::make_unique<Impl>()) {}
Campaign::~Campaign() = default;

SessionResult Campaign::Run(const std::vector<Step>& steps, const Reentry* reentry) {
  Impl& s = *impl_;
  const std::size_t boxesBefore = s.boxes.Boxes().size();
  const long startsBefore = s.starts.Count();
  s.reentry = reentry;
  s.Begin();
  for (std::size_t i = 0; i < steps.size(); ++i) {
    s.Do(steps[i]);
    if (s.hostReferences > 0) s.CheckReferences(Name(steps[i]) + " (step " + std::to_string(i + 1) + ")");
  }
  s.End();
  SessionResult result;
  const std::size_t shown = s.boxes.Boxes().size() - boxesBefore;
  result.boxes = static_cast<int>(shown);
  if (shown > static_cast<std::size_t>(s.entries))
    s.Fault(std::to_string(shown) + " boxes for " + std::to_string(s.entries) + " calls into the plug-in");
  for (std::size_t i = boxesBefore; i < s.boxes.Boxes().size(); ++i) {
    const auto& box = s.boxes.Boxes()[i];
    if (box.caption != u"Tavrel Error") s.Fault("a box captioned " + text::ToUtf8(box.caption));
    if (box.text.find(u"unexpected internal error") != std::u16string::npos)
      s.Fault("an unexpected failure reached the box");
  }
  const long startsAfter = s.starts.Count();
  result.exports = s.exports;
  result.programs = startsBefore >= 0 && startsAfter >= 0 ? startsAfter - startsBefore : -1;
  if (result.programs > s.sendClicks)
    s.Fault(std::to_string(result.programs) + " programs started for " + std::to_string(s.sendClicks) +
            " clicks");
  s.CheckCommandLines();
  result.reentered = s.reentered;
  result.faults = std::move(s.faults);
  s.reentry = nullptr;
  return result;
}

}  // namespace tavrel::callorder
