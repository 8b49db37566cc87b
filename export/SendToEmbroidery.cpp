#include "export/SendToEmbroidery.h"

#include "export/EmbAppTable.h"
#include "export/FixedText.h"
#include "host/Bstr.h"
#include "host/ComPtr.h"
#include "host/ErrorReport.h"
#include "host/HostError.h"
#include "host/VGAppPlugin.h"
#include "platform/File.h"
#include "platform/LastError.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "settings/PluginSettings.h"

namespace tavrel::exporting {

namespace {

using host::Check;
using host::ComPtr;
using settings::PluginSettings;

constexpr std::u16string_view kNotFound =
    u"Could not find the Embroidery Application!\nIs it properly installed on your computer?";
constexpr std::u16string_view kExportFailed = u"Export to Embroidery failed with error: %d";
constexpr std::u16string_view kStartFailed = u" returned with error: %d";
constexpr std::u16string_view kExportFile = u"\\Images\\host_export.emf";

void ReportFailure(std::u16string_view pattern, int32_t code) {
  MessageText message;
  message.Format(pattern, code);
  host::ReportError(message.View(), platform::kBoxOk | platform::kBoxIconError);
}

LONG ChooseRange(host::IHostApplication* application) {
  const auto app = ComPtr<host::IHostApplication>::Share(application);
  ComPtr<host::IHostDocuments> documents;
  Check(app->get_Documents(documents.Put()), app.Get());
  LONG documentCount = 0;
  Check(documents->get_Count(&documentCount), documents.Get());
  if (documentCount <= 0) return host::kRangeAllOnPage;
  ComPtr<host::IHostSelection> selection;
  Check(app->get_Selection(selection.Put()), app.Get());
  ComPtr<host::IHostShapes> shapes;
  Check(selection->get_Shapes(shapes.Put()), selection.Get());
  LONG shapeCount = 0;
  Check(shapes->get_Count(&shapeCount), shapes.Get());
  return shapeCount > 0 ? host::kRangeSelection : host::kRangeAllOnPage;
}

// Has the active document write the file; the export's status (0 for plain
// success).
LONG ExportDrawing(host::IHostApplication* application, std::u16string_view path, LONG range) {
  const auto app = ComPtr<host::IHostApplication>::Share(application);
  ComPtr<host::IHostDocument> document;
  Check(app->get_ActiveDocument(document.Put()), app.Get());
  const host::Bstr file(path);
  LONG status = 0;
  Check(document->ExportToFile(file.Get(), host::kFilterEmf, range, 0, 0, &status), document.Get());
  return status;
}

void Send(host::CVGAppPlugin& plugin) {
  const std::optional<AppFolder> folder = QueryAppPath(PluginSettings.EmbAppType);
  if (!folder) {
    host::ReportError(kNotFound, platform::kBoxOk | platform::kBoxIconExclamation);
    return;
  }

  PathText exportPath;
  exportPath.Assign(folder->View());
  exportPath.Append(kExportFile);

  // The export never goes through a link: one in the file's place is
  // removed itself, or the send stops. A read-only file from an earlier run
  // is made writable for the export; only a regular file is changed.
  const platform::PathEntry entry = platform::EntryAt(exportPath.View());
  if (entry == platform::PathEntry::Link && !platform::RemoveLink(exportPath.View())) {
    ReportFailure(kExportFailed, static_cast<int32_t>(platform::LastError()));
    return;
  }
  if (entry == platform::PathEntry::RegularFile &&
      platform::Access(exportPath.View(), platform::kAccessReadWrite) == -1)
    platform::Chmod(exportPath.View(), platform::kModeRead | platform::kModeWrite);

  const LONG range = ChooseExportRange(plugin);
  const LONG status = ExportDrawing(plugin.Application(), exportPath.View(), range);
  if (status != 0) {
    ReportFailure(kExportFailed, status);
    return;
  }
  if (platform::Access(exportPath.View(), platform::kAccessReadWrite) == -1) {
    ReportFailure(kExportFailed, static_cast<int32_t>(platform::LastError()));
    return;
  }

  const EmbAppInfo* app = AppInfo(PluginSettings.EmbAppType);
  PathText program;
  program.Assign(folder->View());
  program.Append(u"\\");
  program.Append(app->exeName);
  CommandLineText commandLine;
  commandLine.Append(u"\"");
  commandLine.Append(program.View());
  commandLine.Append(u"\" ");
  commandLine.Append(u"\"");
  commandLine.Append(exportPath.View());
  commandLine.Append(u"\"");
  if (PluginSettings.OptimiseCurves) commandLine.Append(u" -opt");
  if (PluginSettings.ExportType == settings::CreateDirectly) {
    commandLine.Append(u" -direct");
  } else if (PluginSettings.ExportType == settings::StartWizard) {
    commandLine.Append(u" -wizard");
  }

  // Exactly that program, started in its own folder.
  if (platform::StartProcess(program.View(), commandLine.View(), folder->View())) return;
  const auto code = static_cast<int32_t>(platform::LastError());
  if (code == 0) return;
  commandLine.AppendFormat(kStartFailed, code);
  host::ReportError(commandLine.View(), platform::kBoxOk | platform::kBoxIconError);
}

}  // namespace

LONG ChooseExportRange(host::CVGAppPlugin& plugin) { return ChooseRange(plugin.Application()); }

void SendToEmbroidery(host::CVGAppPlugin& plugin) noexcept {
  host::RunReportingErrors([&plugin] { Send(plugin); });
}

}  // namespace tavrel::exporting
