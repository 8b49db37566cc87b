// The module's single export: the host asks it for the plug-in object.
#pragma once

#include "host/HostApi.h"

// Stores a new plug-in object with one reference (owned by the caller) at
// `plugin`, or null when it could not be created. Returns 0x100 in every case.
extern "C" LONG STDAPICALLTYPE AttachPlugin(tavrel::host::IVGAppPlugin** plugin);

namespace tavrel::host {
constexpr LONG kAttachPluginResult = 0x100;
}  // namespace tavrel::host
