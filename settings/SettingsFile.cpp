#include "settings/SettingsFile.h"

#include <exception>

#include "export/EmbAppTable.h"
#include "host/Bstr.h"
#include "host/ComPtr.h"
#include "host/HostError.h"
#include "host/VGAppPlugin.h"
#include "platform/File.h"
#include "settings/PluginSettings.h"
#include "xml/XmlProfile.h"

namespace tavrel::settings {

namespace {

constexpr char16_t kFileName[] = u"\\TavrelSettings.xml";
constexpr size_t kMaxPathLength = 254;  // the path's buffer holds 255 units with the NUL
constexpr char16_t kSection[] = u"General";
constexpr char16_t kEmbAppType[] = u"EmbAppType";
constexpr char16_t kExportType[] = u"ExportType";
constexpr char16_t kOptimiseCurves[] = u"OptimiseCurves";

void WriteValues(xml::CXmlProfile& profile) {
  profile.SetInt(kSection, kEmbAppType, PluginSettings.EmbAppType);
  profile.SetInt(kSection, kExportType, PluginSettings.ExportType);
  profile.SetInt(kSection, kOptimiseCurves, PluginSettings.OptimiseCurves ? 1 : 0);
}

void DetectInstalledApps() {
  for (int index = 1; index <= exporting::kAppCount; ++index) {
    if (exporting::QueryAppPath(index)) InstalledApps.push_back(static_cast<int16_t>(index));
  }
}

void CorrectApplicationChoice() {
  if (InstalledApps.empty()) {
    PluginSettings.EmbAppType = 0;
  } else if (!IsInstalled(PluginSettings.EmbAppType)) {
    PluginSettings.EmbAppType = InstalledApps.front();
  }
}

}  // namespace

std::optional<std::u16string> SettingsFilePath(host::IHostApplication* application) {
  const auto app = host::ComPtr<host::IHostApplication>::Share(application);
  host::Bstr folder;
  host::Check(app->get_SettingsFolder(folder.Put()), app.Get());
  if (folder.IsNull()) return std::nullopt;
  std::u16string path(folder.View());
  path += kFileName;
  if (path.size() > kMaxPathLength) return std::nullopt;
  return path;
}

void InitSettings(host::CVGAppPlugin& plugin) {
  DetectInstalledApps();
  const std::optional<std::u16string> path = SettingsFilePath(plugin.Application());
  xml::CXmlProfile profile;
  bool usable = false;
  try {
    usable = path && platform::Access(*path, platform::kAccessReadWrite) == 0 &&
             profile.Load(path->c_str(), xml::ProfileEncoding::Auto) != 0;
  } catch (const std::exception&) {
    // Reading failed part-way (out of memory): the file is left as it is
    // and the values held now stand.
    CorrectApplicationChoice();
    return;
  }
  if (usable) {
    PluginSettings.EmbAppType = profile.GetInt(kSection, kEmbAppType, 0);
    PluginSettings.ExportType = profile.GetInt(kSection, kExportType, LoadVectorOnly);
    PluginSettings.OptimiseCurves = profile.GetInt(kSection, kOptimiseCurves, 1) == 1;
  } else if (path) {
    // Whatever a failed load left in the profile is written back with the
    // values held now; a failure to write is not reported.
    WriteValues(profile);
    profile.Save(path->c_str(), xml::ProfileEncoding::Auto);
  }
  CorrectApplicationChoice();
}

SaveOutcome SaveSettings(host::CVGAppPlugin& plugin) {
  xml::CXmlProfile profile;
  const std::optional<std::u16string> path = SettingsFilePath(plugin.Application());
  if (!path || platform::Access(*path, platform::kAccessReadWrite) != 0) return SaveOutcome::Skipped;
  WriteValues(profile);
  return profile.Save(path->c_str(), xml::ProfileEncoding::Auto) != 0 ? SaveOutcome::Saved
                                                                      : SaveOutcome::Failed;
}

}  // namespace tavrel::settings
