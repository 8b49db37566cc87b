#include "tests/export/SendFixture.h"

#include "export/SendToEmbroidery.h"
#include "host/ModuleInstance.h"
#include "host/VGAppPlugin.h"
#include "platform/Text.h"
#include "settings/PluginSettings.h"
#include "tests/settings/DialogModule.h"

namespace tavrel::testing_support {

namespace {
std::u16string KeyOf(int index) { return text::FromAscii(exporting::AppInfo(index)->registryKey); }
}  // namespace

void SendFixture::SetUp() {
  host::SetModuleInstance(ModuleWithSettingsDialog());
  for (int index = 1; index <= exporting::kAppCount; ++index) {
    registry_.RemoveKey(RegistryRoot::CurrentUser, KeyOf(index));
    registry_.RemoveKey(RegistryRoot::LocalMachine, KeyOf(index));
  }
  settings::PluginSettings = settings::PluginSettingsRecord{};
}

void SendFixture::TearDown() {
  for (int index = 1; index <= exporting::kAppCount; ++index)
    registry_.RemoveKey(RegistryRoot::LocalMachine, KeyOf(index));
  settings::PluginSettings = settings::PluginSettingsRecord{};
}

std::u16string SendFixture::Install(int index, std::u16string_view relative, std::u16string_view suffix,
                                    bool withImages, bool withProgram) {
  std::u16string folder = dir_.Path(relative);
  folder += suffix;
  InstallEmbroideryApplication(registry_, index, dir_.Native(relative), folder, {withImages, withProgram});
  return folder;
}

std::unique_ptr<hostmodel::HostModel> SendFixture::NewHost() {
  auto host = std::make_unique<hostmodel::HostModel>(hostmodel::HostOptions{});
  host->OpenDrawing(TAVREL_SOURCE_DIR "/tests/export/three-shapes.svg");
  return host;
}

void SendFixture::Send(hostmodel::HostModel& host) {
  using References = std::map<std::string, long>;
  auto* plugin = new host::CVGAppPlugin();
  plugin->OnLoad(host.Application());
  exporting::SendToEmbroidery(*plugin);
  EXPECT_EQ(host.OutstandingReferences(), (References{{"IHostApplication", 1}})) << "after the send";
  plugin->OnUnload();
  plugin->Release();
  EXPECT_EQ(host.OutstandingReferences(), References{}) << "after unloading";
}

std::vector<nlohmann::json> SendFixture::Exports(const hostmodel::HostModel& host) {
  std::vector<nlohmann::json> exports;
  for (const auto& record : host.Records()) {
    if (record.value("op", "") == "Document.ExportToFile") exports.push_back(record["args"]);
  }
  return exports;
}

std::optional<nlohmann::json> SendFixture::Receipt() {
  auto receipt = WaitForReceipt(dir_.Native(u"receipt.json"));
  std::filesystem::remove(dir_.Native(u"receipt.json"));
  return receipt;
}

CapturedBox SendFixture::OnlyBox() const {
  EXPECT_EQ(boxes_.Boxes().size(), 1u);
  return boxes_.Boxes().empty() ? CapturedBox{u"(no box)", u"", 0} : boxes_.Boxes().back();
}

}  // namespace tavrel::testing_support
