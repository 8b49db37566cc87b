// Routes the host's events to the plug-in: the state change (17) recomputes
// whether "To Embroidery" is enabled, the command event (20) runs the named
// command, and the command-state query (21) answers whether a command is
// enabled. Malformed events do nothing; nothing escapes to the host.
#pragma once

#include "platform/Com.h"

namespace tavrel::host {

class CVGAppPlugin;

void DispatchEvent(CVGAppPlugin& plugin, DISPID event, const DISPPARAMS* params) noexcept;

}  // namespace tavrel::host
