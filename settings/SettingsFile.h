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
// is usable or writes it from the values in memory when it is not, and
// corrects the application choice to an installed one. Host errors reach
// the caller.
void InitSettings(host::CVGAppPlugin& plugin);

// Writes the current settings when the file exists and is writable.
SaveOutcome SaveSettings(host::CVGAppPlugin& plugin);

}  // namespace tavrel::settings
