// The settings file "TavrelSettings.xml" in the host's settings folder:
// detection of the installed embroidery applications and loading (or
// creating) the file at activation, and storing the applied settings.
#pragma once

#include <optional>
#include <string>

#include "host/HostApi.h"

namespace tavrel::host {
class CVGAppPlugin;
}

namespace tavrel::settings {

enum class SaveOutcome { Skipped, Saved, Failed };

// The host's settings folder followed by "\TavrelSettings.xml". None when no
// path can be built: the host gave no folder, or the path would be longer
// than 254 characters. A failing host call raises _com_error.
std::optional<std::u16string> SettingsFilePath(host::IHostApplication* application);

// Detects the installed applications, then reads the settings file when it
// is usable (it exists, may be read and written, and loads) or, when it is
// not and a path can be built, writes it: the three keys of section
// "General" with the values in memory, beside whatever a failed load left
// in the profile; a failed write is not reported. A failure while reading
// the file (out of memory included) leaves it unread and unwritten, with
// the values in memory. Then corrects the
// application choice to an installed one. Host errors reach the caller.
void InitSettings(host::CVGAppPlugin& plugin);

// Writes the current settings when a path can be built and the file exists
// and is writable; otherwise Skipped, and nothing is written. The save keeps
// only the three keys of section "General" (EmbAppType, ExportType,
// OptimiseCurves) with the values in memory: every other section and key
// the file held is dropped. Failed when the file could not be written.
SaveOutcome SaveSettings(host::CVGAppPlugin& plugin);

}  // namespace tavrel::settings
