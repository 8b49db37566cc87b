// The command behind "To Embroidery": export the drawing below the selected
// embroidery application's folder and start that application with it.
#pragma once

#include "host/HostApi.h"

namespace tavrel::host {
class CVGAppPlugin;
}

namespace tavrel::exporting {

// Runs the whole command on the application the plug-in object holds.
// Failures are shown in message boxes captioned "Tavrel Error"; nothing
// escapes, and success shows nothing.
void SendToEmbroidery(host::CVGAppPlugin& plugin) noexcept;

// 2 (the selection) when a document is open and its selection holds a
// shape, else 1 (the whole page). Host failures raise _com_error.
LONG ChooseExportRange(host::CVGAppPlugin& plugin);

}  // namespace tavrel::exporting
