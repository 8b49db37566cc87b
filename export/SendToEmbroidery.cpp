#include "export/SendToEmbroidery.h"

#include <algorithm>
#include <initializer_list>
#include <stdexcept>

#include "export/EmbAppTable.h"
#include "export/FixedText.h"
#include "host/Bstr.h"
#include "host/ComPtr.h"
#include "host/ErrorReport.h"
#include "host/HostError.h"
#include "host/Texts.h"
#include "host/VGAppPlugin.h"
#include "platform/ErrorCodes.h"
#include "platform/File.h"
#include "platform/LastError.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "resources/TextLimits.h"
#include "resources/resource.h"
#include "settings/PluginSettings.h"

namespace tavrel::exporting {

namespace {

using host::Check;
using host::ComPtr;
using settings::PluginSettings;

constexpr std::u16string_view kExportFile = u"\\Images\\host_export.emf";
// The command line's pieces around the folder, program and export path.
constexpr std::u16string_view kQuote = u"\"";
constexpr std::u16string_view kSeparator = u"\\";
constexpr std::u16string_view kProgramEnd = u"\" ";
constexpr std::u16string_view kOptimise = u" -opt";
constexpr std::u16string_view kDirect = u" -direct";
constexpr std::u16string_view kWizard = u" -wizard";

// The longest text the send builds into each buffer, from the folder's cap,
// the table's longest program name and the export file's name. Each must
// fit with its NUL, so a wider folder or a longer name fails the build,
// never a user's send.
constexpr std::size_t kLongestExportPath = kMaxAppFolderLength + kExportFile.size();
constexpr std::size_t kLongestProgramPath = kMaxAppFolderLength + kSeparator.size() + kLongestExeName;
constexpr std::size_t kLongestCommandLine = kQuote.size() + kLongestProgramPath + kProgramEnd.size() +
                                            kQuote.size() + kLongestExportPath + kQuote.size() +
                                            kOptimise.size() + std::max(kDirect.size(), kWizard.size()) +
                                            MaxFormattedLength(resources::LongestText(IDS_START_FAILED));
static_assert(AppFolder::kCapacity - 1 == kMaxAppFolderLength, "an AppFolder holds the folder's cap");
static_assert(kLongestExportPath < PathText::kCapacity, "the export path does not fit PathText");
static_assert(kLongestProgramPath < PathText::kCapacity, "the program path does not fit PathText");
static_assert(kLongestCommandLine < CommandLineText::kCapacity,
              "the command line does not fit CommandLineText");
static_assert(MaxFormattedLength(resources::LongestText(IDS_EXPORT_FAILED)) < MessageText::kCapacity,
              "the message does not fit MessageText");

// Checks a text operation's result. The assertions above make every one
// fit; should one not, the send stops with the error box instead of using
// a cut text.
void Require(bool whole) {
  if (!whole) throw std::length_error("a text of the send does not fit its buffer");
}

template <class Text>
void AppendAll(Text& text, std::initializer_list<std::u16string_view> pieces) {
  for (const std::u16string_view piece : pieces) Require(text.Append(piece));
}

void ReportFailure(int32_t code) {
  MessageText message;
  Require(message.Format(host::Text(IDS_EXPORT_FAILED), code));
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
  // The settings are read once, as they are when the command starts: the
  // export may pump messages, and a choice made meanwhile (an Apply, a new
  // activation) must not pair one application's folder with another's
  // program.
  const settings::PluginSettingsRecord chosen = PluginSettings;
  const EmbAppInfo* app = AppInfo(chosen.EmbAppType);
  const std::optional<AppFolder> folder = QueryAppPath(chosen.EmbAppType);
  if (app == nullptr || !folder) {
    host::ReportError(host::Text(IDS_APP_NOT_FOUND), platform::kBoxOk | platform::kBoxIconExclamation);
    return;
  }

  PathText exportPath;
  AppendAll(exportPath, {folder->View(), kExportFile});

  // The export never goes through a link: one in the file's place, live or
  // dangling, is removed itself, or the send stops. Anything else that is
  // no regular file (a folder, a named pipe, a device) is refused unopened.
  // A read-only file from an earlier run is made writable for the export;
  // only a regular file is changed.
  const platform::PathEntry entry = platform::EntryAt(exportPath.View());
  if (entry == platform::PathEntry::Other) {
    ReportFailure(static_cast<int32_t>(platform::kErrorAccessDenied));
    return;
  }
  if (entry == platform::PathEntry::Link && !platform::RemoveLink(exportPath.View())) {
    ReportFailure(static_cast<int32_t>(platform::LastError()));
    return;
  }
  if (entry == platform::PathEntry::RegularFile &&
      platform::Access(exportPath.View(), platform::kAccessReadWrite) == -1)
    platform::Chmod(exportPath.View(), platform::kModeRead | platform::kModeWrite);

  const LONG range = ChooseExportRange(plugin);
  const LONG status = ExportDrawing(plugin.Application(), exportPath.View(), range);
  if (status != 0) {
    ReportFailure(status);
    return;
  }
  if (platform::Access(exportPath.View(), platform::kAccessReadWrite) == -1) {
    ReportFailure(static_cast<int32_t>(platform::LastError()));
    return;
  }

  PathText program;
  AppendAll(program, {folder->View(), kSeparator, app->exeName});
  CommandLineText commandLine;
  AppendAll(commandLine, {kQuote, program.View(), kProgramEnd, kQuote, exportPath.View(), kQuote});
  if (chosen.OptimiseCurves) AppendAll(commandLine, {kOptimise});
  if (chosen.ExportType == settings::CreateDirectly) {
    AppendAll(commandLine, {kDirect});
  } else if (chosen.ExportType == settings::StartWizard) {
    AppendAll(commandLine, {kWizard});
  }

  // Exactly that program, started in its own folder.
  if (platform::StartProcess(program.View(), commandLine.View(), folder->View())) return;
  const auto code = static_cast<int32_t>(platform::LastError());
  if (code == 0) return;
  Require(commandLine.AppendFormat(host::Text(IDS_START_FAILED), code));
  host::ReportError(commandLine.View(), platform::kBoxOk | platform::kBoxIconError);
}

}  // namespace

LONG ChooseExportRange(host::CVGAppPlugin& plugin) { return ChooseRange(plugin.Application()); }

void SendToEmbroidery(host::CVGAppPlugin& plugin) noexcept {
  host::RunReportingErrors([&plugin] { Send(plugin); });
}

}  // namespace tavrel::exporting
