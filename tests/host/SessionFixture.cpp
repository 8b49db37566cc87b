#include "tests/host/SessionFixture.h"

#include <filesystem>

#include "export/EmbAppTable.h"
#include "host/AttachPlugin.h"
#include "host/ModuleInstance.h"
#include "platform/Com.h"
#include "platform/Text.h"
#include "settings/PluginSettings.h"
#include "tests/settings/DialogModule.h"
#include "tests/support/EmbroideryStandIn.h"
#include "tests/support/SessionFolders.h"

namespace tavrel::testing_support {

namespace {

std::u16string KeyOf(int index) { return text::FromAscii(exporting::AppInfo(index)->registryKey); }

}  // namespace

void SessionFixture::SetUp() {
  host::SetModuleInstance(ModuleWithSettingsDialog());
  for (int index = 1; index <= exporting::kAppCount; ++index)
    registry_.RemoveKey(RegistryRoot::CurrentUser, KeyOf(index));
  settings::PluginSettings = settings::PluginSettingsRecord{};
  settings::InstalledApps.clear();
  const SessionFolders folders = MakeSessionFolders(dir_);
  hostmodel::HostOptions options;
  options.hostFolder = folders.host;
  options.settingsFolder = folders.settings;
  host_ = std::make_unique<hostmodel::HostModel>(options);
  host::IVGAppPlugin* plugin = nullptr;
  ASSERT_EQ(AttachPlugin(&plugin), host::kAttachPluginResult);
  ASSERT_NE(plugin, nullptr);
  plugin_ = static_cast<host::CVGAppPlugin*>(plugin);
  ASSERT_EQ(plugin_->OnLoad(host_->Application()), S_OK);
  loaded_ = true;
  ExpectOnlyTheApplicationHeld("OnLoad");
  host_->ClearRecords();
}

void SessionFixture::TearDown() {
  if (plugin_ != nullptr) {
    Unload();
    // The host lets go of its event subscriptions before the last release.
    host_.reset();
    EXPECT_EQ(plugin_->Release(), 0u);
    plugin_ = nullptr;
  }
  host_.reset();
  for (int index = 1; index <= exporting::kAppCount; ++index)
    registry_.RemoveKey(RegistryRoot::CurrentUser, KeyOf(index));
  settings::PluginSettings = settings::PluginSettingsRecord{};
  settings::InstalledApps.clear();
}

void SessionFixture::Install(int index) {
  const std::u16string relative = u"apps\\" + text::FormatInt(index);
  InstallEmbroideryApplication(registry_, index, dir_.Native(relative), dir_.Path(relative),
                               {.program = false});
}

bool SessionFixture::SettingsExist() const {
  return std::filesystem::exists(dir_.Native(u"settings\\TavrelSettings.xml"));
}

std::string SessionFixture::Utf16File(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::string SessionFixture::SettingsFile(int embAppType, int exportType, int optimise) {
  std::u16string text =
      u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<profile>\r\n\t<section name=\"General\">\r\n";
  const std::pair<const char16_t*, int> keys[] = {
      {u"EmbAppType", embAppType}, {u"ExportType", exportType}, {u"OptimiseCurves", optimise}};
  for (const auto& [name, value] : keys) {
    text += u"\t\t<key name=\"";
    text += name;
    text += u"\" value=\"" + text::FormatInt(value) + u"\"/>\r\n";
  }
  text += u"\t</section>\r\n</profile>\r\n";
  return Utf16File(text);
}

void SessionFixture::ExpectOnlyTheApplicationHeld(const char* after) const {
  using References = std::map<std::string, long>;
  const References expected = loaded_ ? References{{"IHostApplication", 1}} : References{};
  EXPECT_EQ(host_->OutstandingReferences(), expected) << "host references left after " << after;
}

HRESULT SessionFixture::StartSession() {
  const HRESULT hr = plugin_->StartSession();
  ExpectOnlyTheApplicationHeld("StartSession");
  return hr;
}

HRESULT SessionFixture::StopSession() {
  const HRESULT hr = plugin_->StopSession();
  ExpectOnlyTheApplicationHeld("StopSession");
  return hr;
}

void SessionFixture::Unload() {
  plugin_->OnUnload();
  loaded_ = false;
  ExpectOnlyTheApplicationHeld("OnUnload");
}

void SessionFixture::Event(DISPID id, std::vector<VARIANT> arguments, bool nullBlock) {
  host_->SendEvent(id, std::move(arguments), nullBlock, plugin_);
  ExpectOnlyTheApplicationHeld(("event " + std::to_string(id)).c_str());
}

int SessionFixture::CommandState(std::u16string_view command) {
  VARIANT name;
  VariantInit(&name);
  name.vt = VT_BSTR;
  name.bstrVal = platform::AllocBstr(command);
  VARIANT_BOOL enabled = static_cast<VARIANT_BOOL>(kUntouched);
  VARIANT flag;
  VariantInit(&flag);
  flag.vt = VT_BYREF | VT_BOOL;
  flag.pboolVal = &enabled;
  VARIANT third;
  VariantInit(&third);
  third.vt = VT_I4;
  Event(21, {name, flag, third});
  VariantClear(&name);
  return enabled;
}

}  // namespace tavrel::testing_support
